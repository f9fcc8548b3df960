#pragma once
// Actions as the executor sees them: an object that writes itself into the document, and its
// encoded form (type name + payload) that travels beside it and through the registry.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zarn_actions/error.hpp"

namespace automerge {
class AutoCommit;
}  // namespace automerge

namespace zarn_actions::action {

struct EncodedAction {
  std::string type_name;
  std::vector<std::uint8_t> payload;

  bool operator==(const EncodedAction&) const = default;

  static EncodedAction from_text(std::string type_name, std::string_view payload_text);
  std::string payload_text() const;
};

class Action {
 public:
  virtual ~Action() = default;

  // A text for logs and diagnostics.
  virtual std::string debug_text() const = 0;

  // Writes the action into the document. Must not fail: anything fallible belongs in decoding.
  virtual void apply(automerge::AutoCommit& doc) const = 0;

  // True for actions that only read the document. The executor still runs them, but records
  // them apart so diagnostics can tell changes from queries.
  virtual bool is_read_only() const = 0;
};

}  // namespace zarn_actions::action
