#pragma once
// What the route endpoint editor hands the state.

#include <string>
#include <variant>

#include "messages/endpoint_field.hpp"
#include "model/records.hpp"

namespace maps {

struct EndpointEvent {
  struct TextEdited {
    std::string text;
    EndpointField field = EndpointField::Origin;
    bool operator==(const TextEdited&) const = default;
  };
  struct Submitted {
    std::string text;
    EndpointField field = EndpointField::Origin;
    bool operator==(const Submitted&) const = default;
  };
  struct SuggestionChosen {
    Place place;
    EndpointField field = EndpointField::Origin;
    bool operator==(const SuggestionChosen&) const = default;
  };
  struct Swap {
    bool operator==(const Swap&) const = default;
  };
  struct Nothing {
    bool operator==(const Nothing&) const = default;
  };
  std::variant<TextEdited, Submitted, SuggestionChosen, Swap, Nothing> value;
  bool operator==(const EndpointEvent&) const = default;
};

}  // namespace maps
