#pragma once
// What a list or text shows, kept beside its elements (tombstones included) and updated by
// every op, so that reading element i, the length or a text's content costs no walk over the
// elements.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace automerge::detail {

class SeqIndex {
 public:
  SeqIndex() = default;
  explicit SeqIndex(bool holds_text) : holds_text_(holds_text) {}

  // The visible elements: how many, and where the i-th one is in the element vector.
  std::size_t size() const { return visible_.size(); }
  std::size_t position(std::size_t rank) const { return visible_[rank].pos; }
  // For a text: the visible elements' strings, in order.
  const std::string& text() const { return text_; }

  // A new element was placed at `pos`, visible, holding `s` (ignored for a list).
  void inserted(std::size_t pos, std::string_view s);
  // The element at `pos` became visible, or stopped being visible.
  void shown(std::size_t pos, std::string_view s);
  void hidden(std::size_t pos);
  // The visible element at `pos` now holds `s`.
  void changed(std::size_t pos, std::string_view s);

 private:
  struct Visible {
    std::uint32_t pos;    // in the element vector
    std::uint32_t bytes;  // its share of text_
  };
  std::size_t rank_of(std::size_t pos) const;  // index in visible_ of the first position >= pos
  bool is_visible_at(std::size_t rank, std::size_t pos) const {
    return rank < visible_.size() && visible_[rank].pos == pos;
  }
  std::size_t text_offset(std::size_t rank) const;

  bool holds_text_ = false;
  std::vector<Visible> visible_;  // ascending positions
  std::string text_;
};

}  // namespace automerge::detail
