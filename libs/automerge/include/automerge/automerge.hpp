#pragma once
// AutoCommit: a mergeable document of maps, lists and text. Every edit is an operation with a
// Lamport id (counter, actor); operations collect in a pending change that is closed by
// get_heads, save or commit. Changes are hashed and form a graph whose tips are the heads.
// Two copies that have seen the same changes read the same, whatever the order.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automerge/types.hpp"
#include "base/result.hpp"

namespace automerge {

namespace detail {
struct Doc;
}

// One recorded change in its canonical encoding.
struct Change {
  ChangeHash hash;
  Bytes bytes;
  // Checks the encoding and computes the hash.
  static base::Result<Change> from_bytes(std::span<const std::uint8_t> bytes);
  bool operator==(const Change&) const = default;
};

class AutoCommit {
 public:
  AutoCommit();  // an empty document with a random actor
  explicit AutoCommit(ActorId actor);
  ~AutoCommit();
  AutoCommit(const AutoCommit& other);
  AutoCommit& operator=(const AutoCommit& other);
  AutoCommit(AutoCommit&&) noexcept;
  AutoCommit& operator=(AutoCommit&&) noexcept;

  // Reading. A missing object or an object of the wrong kind is an error; a missing key or
  // index is no value.
  base::Result<std::optional<ValueEntry>> get(const ExId& obj, std::string_view key) const;
  base::Result<std::optional<ValueEntry>> get(const ExId& obj, std::size_t index) const;
  // Every concurrent value, lowest id first (the winner is last).
  base::Result<std::vector<ValueEntry>> get_all(const ExId& obj, std::string_view key) const;
  base::Result<std::vector<ValueEntry>> get_all(const ExId& obj, std::size_t index) const;
  // Keys of a map in byte order; empty for anything else.
  std::vector<std::string> keys(const ExId& obj) const;
  // Keys of a map, elements of a list or code points of a text; 0 for a missing object.
  std::size_t length(const ExId& obj) const;
  base::Result<std::string> text(const ExId& obj) const;
  base::Result<ObjType> object_type(const ExId& obj) const;

  // Writing.
  base::Status put(const ExId& obj, std::string_view key, ScalarValue value);
  base::Status put(const ExId& obj, std::size_t index, ScalarValue value);
  base::Result<ExId> put_object(const ExId& obj, std::string_view key, ObjType type);
  base::Result<ExId> put_object(const ExId& obj, std::size_t index, ObjType type);
  base::Status insert(const ExId& obj, std::size_t index, ScalarValue value);
  base::Result<ExId> insert_object(const ExId& obj, std::size_t index, ObjType type);
  // Deleting a missing key does nothing; a list index past the end is an error.
  base::Status delete_(const ExId& obj, std::string_view key);
  base::Status delete_(const ExId& obj, std::size_t index);
  // Positions and the delete count are in code points; the text must be valid UTF-8.
  base::Status splice_text(const ExId& obj, std::size_t pos, std::size_t del, std::string_view text);

  // History.
  std::optional<ChangeHash> commit();   // closes the pending change; none when it is empty
  std::vector<ChangeHash> get_heads();  // sorted
  // Where the document stands, without closing the pending change: its heads and how many ops
  // the pending change holds. Every edit and every change taken in moves it, so a reader that
  // finds the mark it read at may skip reading again.
  struct Mark {
    std::vector<ChangeHash> heads;
    std::size_t pending_ops = 0;
    bool operator==(const Mark&) const = default;
  };
  Mark mark() const;
  const ActorId& get_actor() const;
  void set_actor(ActorId actor);
  std::size_t change_count() const;                            // recorded changes, in the order they were applied
  std::vector<Change> changes_after(std::size_t count) const;  // the changes from that position on
  // The hashes of the recorded changes in the order they were applied, then of those waiting.
  std::vector<ChangeHash> change_hashes() const;
  std::vector<Change> get_changes(const std::vector<ChangeHash>& have);  // what is not behind `have`
  // Applies changes in causal order; a change whose dependencies are unknown waits for them.
  // A change that fails its checks is an error and changes nothing: the ones before it stay
  // applied and the ones after it are not looked at. Waiting changes that it releases are
  // applied or, when one of them fails its checks, dropped and reported.
  base::Status apply_changes(const std::vector<Change>& changes);
  base::Status apply_change_bytes(std::span<const std::uint8_t> bytes);
  std::size_t queued_count() const;  // changes waiting for dependencies

  AutoCommit fork();  // a copy with a new actor
  base::Status merge(AutoCommit& other);

  // The saved form holds the changes and the document's state; loading reads the state when it
  // is the state of the changes beside it, and applies the changes otherwise (also for a
  // document saved with its changes alone).
  Bytes save();
  static base::Result<AutoCommit> load(std::span<const std::uint8_t> bytes);
  // The changes of a saved document, hashed but not applied (for merging into another copy).
  static base::Result<std::vector<Change>> load_changes(std::span<const std::uint8_t> bytes);

 private:
  std::unique_ptr<detail::Doc> d_;
};

}  // namespace automerge
