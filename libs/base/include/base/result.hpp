#pragma once
// Result<T>: a value, or an error. Failures travel as values; nothing here throws unless a
// caller reads the wrong side.

#include <cassert>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace base {

// What went wrong, for callers that answer kinds of failure differently (a person is told
// "cannot reach the service" rather than a library's text). Most errors are `Other`.
enum class ErrorKind : std::uint8_t {
  Other,
  Unreachable,   // no answer: name lookup, connection, TLS, connection reset
  ServiceError,  // the service answered with an error (its HTTP status in `http_status` when it sent one)
  TimedOut,      // no answer within the time limit
  BadReply,      // an answer that cannot be read: not the format or shape expected
  NoResult,      // the service answered that it has nothing for this request
  Cancelled,     // given up by the app itself
};

struct Error {
  std::string message;  // the full text, for logs and where a text is shown as it is
  ErrorKind kind = ErrorKind::Other;
  long http_status = 0;  // the reply's status with ServiceError; 0 when there was none
  bool operator==(const Error&) const = default;
};

// `return base::err("...")` converts to any Result<T>.
inline Error err(std::string message) { return Error{std::move(message), ErrorKind::Other, 0}; }
inline Error err(ErrorKind kind, std::string message, long http_status = 0) {
  return Error{std::move(message), kind, http_status};
}

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}  // NOLINT

  static Result ok(T value) { return Result(std::move(value)); }
  static Result fail(std::string message) { return Result(err(std::move(message))); }

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
  // By value from a temporary, so `for (auto& x : *f())` never reads a destroyed result.
  T value() && {
    assert(is_ok());
    return std::get<0>(std::move(v_));
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T operator*() && { return std::move(*this).value(); }

  const std::string& error() const {
    assert(is_err());
    return std::get<1>(v_).message;
  }
  // The whole error, to pass on with its kind: `if (!r) return r.failure();`.
  const Error& failure() const {
    assert(is_err());
    return std::get<1>(v_);
  }
  ErrorKind error_kind() const { return failure().kind; }

  T value_or(T fallback) const& { return is_ok() ? std::get<0>(v_) : std::move(fallback); }

  bool operator==(const Result&) const = default;

 private:
  std::variant<T, Error> v_;
};

// Result<void>: success, or an error.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT

  static Result ok() { return Result(); }
  static Result fail(std::string message) { return Result(err(std::move(message))); }

  bool is_ok() const { return !failed_; }
  bool is_err() const { return failed_; }
  explicit operator bool() const { return is_ok(); }
  const std::string& error() const {
    assert(failed_);
    return error_.message;
  }
  const Error& failure() const {
    assert(failed_);
    return error_;
  }
  ErrorKind error_kind() const { return failure().kind; }

  bool operator==(const Result&) const = default;

 private:
  Error error_;
  bool failed_ = false;
};

using Status = Result<void>;

}  // namespace base
