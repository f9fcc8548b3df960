#include "automerge/sha256.hpp"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace automerge {

namespace {

using State = std::array<std::uint32_t, 8>;
using Blocks = void (*)(State&, const std::uint8_t*, std::size_t);

alignas(16) constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr State kInitial = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

std::uint32_t load_be(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

void portable_blocks(State& state, const std::uint8_t* data, std::size_t blocks) {
  for (; blocks > 0; --blocks, data += 64) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = load_be(data + 4 * i);
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
      const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
}

#if defined(__x86_64__)
// The SHA extensions keep the state as the lanes ABEF and CDGH and do two rounds an instruction.
__attribute__((target("sha,sse4.1,ssse3"))) void sha_ni_blocks(State& state, const std::uint8_t* data,
                                                               std::size_t blocks) {
  const __m128i swap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);  // big-endian words
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0]));
  __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4]));
  const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  for (; blocks > 0; --blocks, data += 64) {
    const __m128i abef_in = abef, cdgh_in = cdgh;
    __m128i w[4];
    for (int i = 0; i < 4; ++i) {
      w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)), swap);
    }
    for (int i = 0; i < 16; ++i) {  // four rounds each, words 4i .. 4i + 3
      __m128i k = _mm_add_epi32(w[i % 4], _mm_load_si128(reinterpret_cast<const __m128i*>(&kRound[4 * i])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
      k = _mm_shuffle_epi32(k, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, k);
      if (i < 12) {  // words 4i + 16 .. 4i + 19 replace the ones just used
        const __m128i& w1 = w[(i + 1) % 4];
        const __m128i& w2 = w[(i + 2) % 4];
        const __m128i& w3 = w[(i + 3) % 4];
        __m128i next = _mm_sha256msg1_epu32(w[i % 4], w1);
        next = _mm_add_epi32(next, _mm_alignr_epi8(w3, w2, 4));
        w[i % 4] = _mm_sha256msg2_epu32(next, w3);
      }
    }
    abef = _mm_add_epi32(abef, abef_in);
    cdgh = _mm_add_epi32(cdgh, cdgh_in);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

bool has_sha_ni() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool sse = (c & bit_SSSE3) && (c & bit_SSE4_1);
  if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
  return sse && (b & bit_SHA);
}

Blocks fastest_blocks() { return has_sha_ni() ? sha_ni_blocks : portable_blocks; }
#else
Blocks fastest_blocks() { return portable_blocks; }
#endif

Sha256 digest(std::span<const std::uint8_t> bytes, Blocks blocks) {
  State state = kInitial;
  const std::size_t whole = bytes.size() / 64;
  if (whole > 0) blocks(state, bytes.data(), whole);
  // The tail, the 0x80 marker and the length in bits fill one or two last blocks.
  std::uint8_t last[128] = {};
  const std::size_t tail = bytes.size() - whole * 64;
  if (tail > 0) std::memcpy(last, bytes.data() + whole * 64, tail);
  last[tail] = 0x80;
  const std::size_t end = tail < 56 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  for (int i = 0; i < 8; ++i) last[end - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
  blocks(state, last, end / 64);
  Sha256 out{};
  for (int i = 0; i < 8; ++i) {
    for (int k = 0; k < 4; ++k) out[4 * i + k] = static_cast<std::uint8_t>(state[i] >> (24 - 8 * k));
  }
  return out;
}

}  // namespace

Sha256 sha256(std::span<const std::uint8_t> bytes) {
  static const Blocks blocks = fastest_blocks();
  return digest(bytes, blocks);
}

Sha256 sha256_portable(std::span<const std::uint8_t> bytes) { return digest(bytes, portable_blocks); }

}  // namespace automerge
