#pragma once
// The host that dispatches an application's actions: it completes the caller's context, runs the
// executor on a fresh local transport, reports to the history binding and keeps a short record.
// A failed dispatch is logged as a warning; callers that want the error use dispatch_typed_action.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "automerge/automerge.hpp"
#include "zarn_actions/action.hpp"
#include "zarn_actions/context.hpp"
#include "zarn_ui/bound_dispatch.hpp"

namespace zarn_ui::action_host {

struct DispatchEntry {
  std::string type_name;
  std::string label;
  bool succeeded = false;
  std::string error;  // the failure's text when not succeeded
  bool operator==(const DispatchEntry&) const = default;
};

class ActionHost {
 public:
  static constexpr std::size_t kMaxEntries = 64;

  ActionHost() = default;
  // `log_target` names the logger that failures are reported to.
  explicit ActionHost(std::string log_target) : log_target_(std::move(log_target)) {}

  void set_context(std::optional<zarn_actions::context::ActionContext> context) { context_ = std::move(context); }
  const std::optional<zarn_actions::context::ActionContext>& context() const { return context_; }
  bound_dispatch::Binding& binding() { return binding_; }
  const std::string& log_target() const { return log_target_; }

  // Runs one action whose encoding (or encoding failure) is given beside it.
  zarn_actions::action::ActionStatus dispatch_typed_action(
      automerge::AutoCommit& doc, const zarn_actions::action::Action& action,
      const zarn_actions::action::ActionResult<zarn_actions::action::EncodedAction>& encoded,
      const std::optional<zarn_actions::context::ActionContext>& caller);

  // The same; a failure becomes one warning "action dispatch failed" and is dropped.
  void dispatch_with_context(automerge::AutoCommit& doc, const zarn_actions::action::Action& action,
                             const zarn_actions::action::ActionResult<zarn_actions::action::EncodedAction>& encoded,
                             const std::optional<zarn_actions::context::ActionContext>& caller);

  const std::deque<DispatchEntry>& entries() const { return entries_; }
  std::size_t dispatch_count() const { return dispatched_; }
  std::size_t failure_count() const { return failed_; }
  // The entry of the latest dispatch, until it is taken; a newer dispatch replaces it.
  std::optional<DispatchEntry> take_pending_output() { return std::exchange(pending_output_, std::nullopt); }

 private:
  void remember(DispatchEntry entry);

  std::string log_target_ = "zarn_ui::actions";
  std::optional<zarn_actions::context::ActionContext> context_;
  bound_dispatch::Binding binding_;
  std::deque<DispatchEntry> entries_;
  std::optional<DispatchEntry> pending_output_;
  std::size_t dispatched_ = 0;
  std::size_t failed_ = 0;
};

}  // namespace zarn_ui::action_host
