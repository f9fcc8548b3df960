#pragma once
// What the window offers to actions and assistive technology: the names of its actions, and the
// slot in which the asynchronous "maps.locate" action waits for its answer.

#include <optional>
#include <string>
#include <vector>

#include "action_surface/async_action.hpp"

namespace maps {

class ActionSurface {
 public:
  std::vector<std::string> action_names() const;

  // A "maps.locate" request is waiting for the location outcome.
  bool locate_pending() const { return locate_pending_; }
  const LocateRequestId& locate_request_id() const { return locate_request_id_; }
  const std::optional<AsyncActionResult>& result() const { return result_; }
  // A "maps.locate" request starts waiting; an earlier result is dropped.
  void await_locate(const LocateRequestId& id);
  // The result of the waiting request with this id, once it has come; it then waits no more.
  std::optional<AsyncActionResult> take_result(const LocateRequestId& id);
  // The location outcome, for a waiting request; nothing when none waits.
  void locate_succeeded();
  void locate_failed(std::string code, std::string message);

 private:
  bool locate_pending_ = false;
  LocateRequestId locate_request_id_{};
  std::optional<AsyncActionResult> result_;
};

}  // namespace maps
