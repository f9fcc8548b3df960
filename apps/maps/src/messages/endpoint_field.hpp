#pragma once
// Which route endpoint field a value belongs to.

#include <cstdint>

namespace maps {

enum class EndpointField : std::uint8_t { Origin, Destination, None };

// The other of the two fields.
constexpr EndpointField other_field(EndpointField field) {
  return field == EndpointField::Origin ? EndpointField::Destination : EndpointField::Origin;
}

// Endpoint searches name their field with a byte of their own: 1 the origin, anything else the
// destination. These two convert at that boundary.
constexpr EndpointField endpoint_field_from_job(std::uint8_t endpoint) {
  return endpoint == 1 ? EndpointField::Origin : EndpointField::Destination;
}
constexpr std::uint8_t endpoint_job_byte(EndpointField field) { return field == EndpointField::Origin ? 1 : 0; }

}  // namespace maps
