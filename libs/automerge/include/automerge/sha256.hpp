#pragma once
// SHA-256 (FIPS 180-4), the digest behind change hashes. Our own, so that the document engine
// needs no cryptography library: loading one and setting it up costs a start-up about a
// millisecond and several MiB of touched pages for this one function.

#include <array>
#include <cstdint>
#include <span>

namespace automerge {

using Sha256 = std::array<std::uint8_t, 32>;

// With the processor's SHA instructions where it has them.
Sha256 sha256(std::span<const std::uint8_t> bytes);
// The same digest in plain integer arithmetic, as processors without them compute it.
Sha256 sha256_portable(std::span<const std::uint8_t> bytes);

}  // namespace automerge
