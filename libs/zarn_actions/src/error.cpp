#include "zarn_actions/error.hpp"

#include <fmt/format.h>

namespace zarn_actions::action {

namespace {

ActionError make(std::string_view code, std::string message, std::string_view type_name) {
  return ActionError{std::string(code), std::move(message), std::string(type_name)};
}

}  // namespace

ActionError ActionError::decode(std::string_view type_name, std::string_view detail) {
  return make(codes::kDecode, fmt::format("failed to decode action `{}`: {}", type_name, detail), type_name);
}

ActionError ActionError::encode(std::string_view type_name, std::string_view detail) {
  return make(codes::kEncode, fmt::format("failed to encode action `{}`: {}", type_name, detail), type_name);
}

ActionError ActionError::unknown_type(std::string_view type_name) {
  return make(codes::kUnknownType, fmt::format("no decoder registered for action type `{}`", type_name), type_name);
}

ActionError ActionError::type_mismatch(std::string_view expected, std::string_view actual) {
  return make(codes::kTypeMismatch,
              fmt::format("action type `{}` does not match the operation type `{}`", actual, expected), actual);
}

ActionError ActionError::invalid(std::string_view type_name, std::string_view detail) {
  std::string message = type_name.empty() ? fmt::format("invalid action: {}", detail)
                                          : fmt::format("invalid action `{}`: {}", type_name, detail);
  return make(codes::kInvalid, std::move(message), type_name);
}

ActionError ActionError::execution(std::string_view type_name, std::string_view detail) {
  return make(codes::kExecution, fmt::format("action `{}` failed: {}", type_name, detail), type_name);
}

ActionError ActionError::refused(std::string code, std::string message) {
  return ActionError{std::move(code), std::move(message), {}};
}

}  // namespace zarn_actions::action
