#pragma once
// The named interface actions a widget offers to agents and menus: how one call ends, the
// asynchronous request of an action that completes later, and the output the action host keeps
// for the front end.

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace zarn_ui::ui_action {

using RequestId = std::array<std::uint8_t, 16>;

// The end of a synchronous call.
struct ActionOutcome {
  enum class Kind : std::uint8_t { Performed, NotHandled, Failed };
  Kind kind = Kind::NotHandled;
  std::string error;  // Failed only
  bool operator==(const ActionOutcome&) const = default;

  static ActionOutcome performed() { return {Kind::Performed, {}}; }
  static ActionOutcome not_handled() { return {Kind::NotHandled, {}}; }
  static ActionOutcome failed(std::string text) { return {Kind::Failed, std::move(text)}; }
};

// The answer to a request that may complete later.
struct BeginOutcome {
  enum class Kind : std::uint8_t { Started, Completed, NotHandled, Refused };
  Kind kind = Kind::NotHandled;
  std::string text;  // Completed: the output (may be empty); Refused: the message
  bool operator==(const BeginOutcome&) const = default;

  static BeginOutcome started() { return {Kind::Started, {}}; }
  static BeginOutcome completed(std::string output) { return {Kind::Completed, std::move(output)}; }
  static BeginOutcome not_handled() { return {Kind::NotHandled, {}}; }
  static BeginOutcome refused(std::string message) { return {Kind::Refused, std::move(message)}; }
};

// The finished result of a started request; handed out once.
struct AsyncResult {
  RequestId request_id{};
  bool ok = false;
  std::string code;     // failures only: a machine id such as "location_unavailable"
  std::string message;  // failures only
  bool operator==(const AsyncResult&) const = default;

  static AsyncResult success(const RequestId& id) { return {id, true, {}, {}}; }
  static AsyncResult failure(const RequestId& id, std::string code, std::string message) {
    return {id, false, std::move(code), std::move(message)};
  }
};

}  // namespace zarn_ui::ui_action
