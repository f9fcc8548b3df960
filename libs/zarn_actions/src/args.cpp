#include "zarn_actions/args.hpp"

namespace zarn_actions::resource {

ActionArgs& ActionArgs::set(std::string name, ArgValue value) & {
  values_.insert_or_assign(std::move(name), std::move(value));
  return *this;
}

ActionArgs&& ActionArgs::set(std::string name, ArgValue value) && {
  return std::move(set(std::move(name), std::move(value)));
}

const ArgValue* ActionArgs::get(std::string_view name) const {
  auto it = values_.find(name);
  return it == values_.end() ? nullptr : &it->second;
}

std::optional<std::string> ActionArgs::text(std::string_view name) const {
  const ArgValue* v = get(name);
  if (v == nullptr || !std::holds_alternative<std::string>(*v)) return std::nullopt;
  return std::get<std::string>(*v);
}

std::optional<std::int64_t> ActionArgs::integer(std::string_view name) const {
  const ArgValue* v = get(name);
  if (v == nullptr || !std::holds_alternative<std::int64_t>(*v)) return std::nullopt;
  return std::get<std::int64_t>(*v);
}

std::optional<double> ActionArgs::number(std::string_view name) const {
  const ArgValue* v = get(name);
  if (v == nullptr) return std::nullopt;
  if (const auto* d = std::get_if<double>(v)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(v)) return static_cast<double>(*i);
  return std::nullopt;
}

std::optional<bool> ActionArgs::boolean(std::string_view name) const {
  const ArgValue* v = get(name);
  if (v == nullptr || !std::holds_alternative<bool>(*v)) return std::nullopt;
  return std::get<bool>(*v);
}

}  // namespace zarn_actions::resource
