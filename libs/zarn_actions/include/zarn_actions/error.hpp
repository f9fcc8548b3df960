#pragma once
// The one error type of the action system, and the result type that carries it.

#include <cassert>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace zarn_actions::action {

// A machine code (stable, for callers that branch on it) and a text for people.
struct ActionError {
  std::string code;
  std::string message;
  std::string type_name;  // the action type concerned; empty when none applies

  bool operator==(const ActionError&) const = default;

  // The text shown to people.
  const std::string& display() const { return message; }

  static ActionError decode(std::string_view type_name, std::string_view detail);
  static ActionError encode(std::string_view type_name, std::string_view detail);
  static ActionError unknown_type(std::string_view type_name);
  static ActionError type_mismatch(std::string_view expected, std::string_view actual);
  static ActionError invalid(std::string_view type_name, std::string_view detail);
  static ActionError execution(std::string_view type_name, std::string_view detail);
  static ActionError refused(std::string code, std::string message);
};

// Machine codes of the errors the library itself makes.
namespace codes {
inline constexpr std::string_view kDecode = "decode_failed";
inline constexpr std::string_view kEncode = "encode_failed";
inline constexpr std::string_view kUnknownType = "unknown_action_type";
inline constexpr std::string_view kTypeMismatch = "operation_type_mismatch";
inline constexpr std::string_view kInvalid = "invalid_action";
inline constexpr std::string_view kExecution = "execution_failed";
}  // namespace codes

// A value or an ActionError.
template <class T>
class [[nodiscard]] ActionResult {
 public:
  ActionResult(T value) : v_(std::in_place_index<0>, std::move(value)) {}            // NOLINT: implicit by design
  ActionResult(ActionError error) : v_(std::in_place_index<1>, std::move(error)) {}  // NOLINT
  // Lets a decoder return std::make_unique<Derived>(...) for a unique_ptr<Base> result.
  template <class U, class = std::enable_if_t<std::is_convertible_v<U&&, T> && !std::is_same_v<std::decay_t<U>, T> &&
                                              !std::is_same_v<std::decay_t<U>, ActionError>>>
  ActionResult(U&& value) : v_(std::in_place_index<0>, T(std::forward<U>(value))) {}  // NOLINT

  bool is_ok() const { return v_.index() == 0; }
  bool is_err() const { return v_.index() == 1; }
  explicit operator bool() const { return is_ok(); }

  T& value() & {
    assert(is_ok());
    return std::get<0>(v_);
  }
  const T& value() const& {
    assert(is_ok());
    return std::get<0>(v_);
  }
  T&& value() && {
    assert(is_ok());
    return std::get<0>(std::move(v_));
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const ActionError& error() const& {
    assert(is_err());
    return std::get<1>(v_);
  }
  ActionError&& error() && {
    assert(is_err());
    return std::get<1>(std::move(v_));
  }

 private:
  std::variant<T, ActionError> v_;
};

template <>
class [[nodiscard]] ActionResult<void> {
 public:
  ActionResult() = default;
  ActionResult(ActionError error) : error_(std::move(error)), failed_(true) {}  // NOLINT

  bool is_ok() const { return !failed_; }
  bool is_err() const { return failed_; }
  explicit operator bool() const { return is_ok(); }
  const ActionError& error() const {
    assert(failed_);
    return error_;
  }

 private:
  ActionError error_;
  bool failed_ = false;
};

using ActionStatus = ActionResult<void>;

}  // namespace zarn_actions::action
