#pragma once
// The named arguments an action is invoked with.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace zarn_actions::resource {

using ArgValue = std::variant<std::string, std::int64_t, double, bool>;

class ActionArgs {
 public:
  // Sets (or replaces) one argument.
  ActionArgs& set(std::string name, ArgValue value) &;
  ActionArgs&& set(std::string name, ArgValue value) &&;

  // Each answers none when the argument is missing or holds another kind of value;
  // `number` also reads an integer.
  std::optional<std::string> text(std::string_view name) const;
  std::optional<std::int64_t> integer(std::string_view name) const;
  std::optional<double> number(std::string_view name) const;
  std::optional<bool> boolean(std::string_view name) const;

  bool contains(std::string_view name) const { return values_.find(name) != values_.end(); }
  std::size_t size() const { return values_.size(); }
  bool empty() const { return values_.empty(); }

  bool operator==(const ActionArgs&) const = default;

 private:
  const ArgValue* get(std::string_view name) const;

  std::map<std::string, ArgValue, std::less<>> values_;
};

}  // namespace zarn_actions::resource
