#include "automerge/sha256.hpp"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <vector>

namespace automerge {
namespace {

Sha256 openssl_sha256(const std::vector<std::uint8_t>& b) {
  Sha256 out{};
  unsigned int len = 0;
  EVP_Digest(b.data(), b.size(), out.data(), &len, EVP_sha256(), nullptr);
  return out;
}

// Change hashes in stored documents and at every peer are SHA-256: both ways of computing it
// agree with OpenSSL's at every length up to a few blocks (each place where the padding needs a
// second block: tails of 55, 56, 63 and 64 bytes) and over a long input.
TEST(Sha256, BothWaysAgreeWithOpenSslAtEveryLength) {
  std::mt19937 rng(11);
  std::vector<std::size_t> sizes;
  for (std::size_t n = 0; n <= 300; ++n) sizes.push_back(n);
  sizes.push_back(1 << 20);
  for (std::size_t n : sizes) {
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    const Sha256 want = openssl_sha256(bytes);
    EXPECT_EQ(sha256(bytes), want) << n << " bytes";
    EXPECT_EQ(sha256_portable(bytes), want) << n << " bytes";
  }
}

}  // namespace
}  // namespace automerge
