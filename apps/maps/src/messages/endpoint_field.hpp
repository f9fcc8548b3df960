#pragma once
// Which route endpoint field a value belongs to.

#include <cstdint>

namespace maps {

enum class EndpointField : std::uint8_t { Origin, Destination, None };

// The other of the two fields.
constexpr EndpointField other_field(EndpointField field) {
  return field == EndpointField::Origin ? EndpointField::Destination : EndpointField::Origin;
}

}  // namespace maps
