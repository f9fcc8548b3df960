#include <exception>

#include "zarn_actions/transport.hpp"

namespace zarn_actions::executor {

action::ActionStatus LocalTransport::execute(automerge::AutoCommit& doc, const action::Action& action,
                                             const DispatchRequest& request) {
  DispatchRecord record;
  record.type_name = request.encoded.type_name;
  record.payload_size = request.encoded.payload.size();
  record.actor.assign(request.actor.begin(), request.actor.end());
  record.has_context = request.context != nullptr;
  if (request.context != nullptr) record.context = *request.context;

  action::ActionStatus status;
  try {
    record.debug_text = action.debug_text();
    record.read_only = action.is_read_only();
    action.apply(doc);
  } catch (const std::exception& e) {
    status = action::ActionError::execution(record.type_name, e.what());
  } catch (...) {
    status = action::ActionError::execution(record.type_name, "the action failed");
  }
  record.succeeded = status.is_ok();
  if (status.is_err()) record.error = status.error().display();
  remember(std::move(record));
  return status;
}

void LocalTransport::remember(DispatchRecord record) {
  ++dispatched_;
  if (records_.size() == kMaxRecords) records_.pop_front();
  records_.push_back(std::move(record));
}

}  // namespace zarn_actions::executor
