#pragma once
// Where an action is executed. A transport runs the action against the document and keeps
// whatever it needs to answer for it; the local transport runs it in place and keeps a short
// in-memory record of each dispatch.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "zarn_actions/action.hpp"
#include "zarn_actions/context.hpp"

namespace zarn_actions::executor {

// Everything the executor hands a transport besides the document and the action object.
struct DispatchRequest {
  const action::EncodedAction& encoded;
  std::span<const std::uint8_t> actor;
  const context::ActionContext* context;  // null when dispatched without one
};

// One dispatch as the local transport remembers it.
struct DispatchRecord {
  std::string type_name;
  std::size_t payload_size = 0;
  std::vector<std::uint8_t> actor;
  std::string debug_text;
  bool read_only = false;
  context::ActionContext context;
  bool has_context = false;
  bool succeeded = false;
  std::string error;  // the failure's display text when not succeeded

  bool operator==(const DispatchRecord&) const = default;
};

class Transport {
 public:
  virtual ~Transport() = default;
  virtual action::ActionStatus execute(automerge::AutoCommit& doc, const action::Action& action,
                                       const DispatchRequest& request) = 0;
};

class LocalTransport final : public Transport {
 public:
  // Bounds the record so a long-lived transport cannot grow without end; oldest go first.
  static constexpr std::size_t kMaxRecords = 256;

  action::ActionStatus execute(automerge::AutoCommit& doc, const action::Action& action,
                               const DispatchRequest& request) override;

  const std::deque<DispatchRecord>& records() const { return records_; }
  std::size_t dispatch_count() const { return dispatched_; }

 private:
  void remember(DispatchRecord record);

  std::deque<DispatchRecord> records_;
  std::size_t dispatched_ = 0;
};

}  // namespace zarn_actions::executor
