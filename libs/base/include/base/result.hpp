#pragma once
// Result<T>: a value, or an error text. Failures travel as values; nothing here throws
// unless a caller reads the wrong side.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace base {

struct Error {
  std::string message;
  bool operator==(const Error&) const = default;
};

// `return base::err("...")` converts to any Result<T>.
inline Error err(std::string message) { return Error{std::move(message)}; }

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}  // NOLINT

  static Result ok(T value) { return Result(std::move(value)); }
  static Result fail(std::string message) { return Result(Error{std::move(message)}); }

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

  T value_or(T fallback) const& { return is_ok() ? std::get<0>(v_) : std::move(fallback); }

  bool operator==(const Result&) const = default;

 private:
  std::variant<T, Error> v_;
};

// Result<void>: success, or an error text.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT

  static Result ok() { return Result(); }
  static Result fail(std::string message) { return Result(Error{std::move(message)}); }

  bool is_ok() const { return !failed_; }
  bool is_err() const { return failed_; }
  explicit operator bool() const { return is_ok(); }
  const std::string& error() const {
    assert(failed_);
    return error_.message;
  }

  bool operator==(const Result&) const = default;

 private:
  Error error_;
  bool failed_ = false;
};

using Status = Result<void>;

}  // namespace base
