#pragma once
// A mutator that knows PNG's structure, for fuzzing the tile decoder: the decoding library is
// not built with coverage, so the fuzzer cannot find its way into it by feedback, and random
// bytes almost never get past the chunk checksums. Mutations act on the chunks (the header's
// fields, the palette and transparency, ancillary chunks, their order) and on the image data
// itself (inflated, changed, deflated again), and every checksum is made right afterwards.

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

namespace maps::fuzzing {

struct PngChunk {
  std::string type;
  std::vector<std::uint8_t> data;
};

inline constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

inline std::uint32_t read_be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

inline void put_be32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline std::optional<std::vector<PngChunk>> parse_png(const std::uint8_t* data, std::size_t size) {
  if (size < kPngSignature.size() || std::memcmp(data, kPngSignature.data(), kPngSignature.size()) != 0) {
    return std::nullopt;
  }
  std::vector<PngChunk> chunks;
  std::size_t at = kPngSignature.size();
  while (at + 12 <= size) {
    const std::uint32_t len = read_be32(data + at);
    if (len > size - at - 12) break;
    PngChunk c;
    c.type.assign(reinterpret_cast<const char*>(data + at + 4), 4);
    c.data.assign(data + at + 8, data + at + 8 + len);
    chunks.push_back(std::move(c));
    at += 12 + len;
  }
  if (chunks.empty()) return std::nullopt;
  return chunks;
}

inline std::vector<std::uint8_t> assemble_png(const std::vector<PngChunk>& chunks) {
  std::vector<std::uint8_t> out(kPngSignature.begin(), kPngSignature.end());
  for (const PngChunk& c : chunks) {
    put_be32(out, static_cast<std::uint32_t>(c.data.size()));
    const std::size_t type_at = out.size();
    out.insert(out.end(), c.type.begin(), c.type.end());
    out.insert(out.end(), c.data.begin(), c.data.end());
    const auto crc = crc32(0L, out.data() + type_at, static_cast<uInt>(4 + c.data.size()));
    put_be32(out, static_cast<std::uint32_t>(crc));
  }
  return out;
}

// The image data: every IDAT inflated in turn; at most `cap` bytes (a small file may inflate to
// a great deal).
inline std::vector<std::uint8_t> inflate_idat(const std::vector<PngChunk>& chunks, std::size_t cap) {
  std::vector<std::uint8_t> in;
  for (const PngChunk& c : chunks) {
    if (c.type == "IDAT") in.insert(in.end(), c.data.begin(), c.data.end());
  }
  std::vector<std::uint8_t> out;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return out;
  z.next_in = in.data();
  z.avail_in = static_cast<uInt>(in.size());
  std::array<std::uint8_t, 16384> buf{};
  int rc = Z_OK;
  while (rc == Z_OK && out.size() < cap) {
    z.next_out = buf.data();
    z.avail_out = static_cast<uInt>(buf.size());
    rc = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buf.data(), buf.data() + (buf.size() - z.avail_out));
    if (z.avail_out != 0 && rc == Z_OK) break;  // input used up without an end
  }
  inflateEnd(&z);
  if (out.size() > cap) out.resize(cap);
  return out;
}

inline std::vector<std::uint8_t> deflate_bytes(const std::vector<std::uint8_t>& raw, int level) {
  uLongf len = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> out(len);
  if (compress2(out.data(), &len, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK) return {};
  out.resize(len);
  return out;
}

// Bytes of filtered image data the header asks for (without interlacing), capped.
inline std::size_t raw_size_for(const PngChunk& ihdr, std::size_t cap) {
  if (ihdr.data.size() < 13) return 0;
  const std::uint64_t w = read_be32(ihdr.data.data()), h = read_be32(ihdr.data.data() + 4);
  const std::uint64_t depth = ihdr.data[8];
  static constexpr std::array<int, 7> kChannels = {1, 0, 3, 1, 2, 0, 4};
  const std::uint64_t channels = ihdr.data[9] < kChannels.size() ? kChannels[ihdr.data[9]] : 1;
  const std::uint64_t row = 1 + (w * channels * std::max<std::uint64_t>(depth, 1) + 7) / 8;
  const std::uint64_t total = row * h;
  return static_cast<std::size_t>(std::min<std::uint64_t>(total, cap));
}

template <class T, std::size_t N>
T pick(std::minstd_rand& rng, const std::array<T, N>& from) {
  return from[rng() % N];
}

inline std::vector<std::uint8_t> random_bytes(std::minstd_rand& rng, std::size_t n) {
  std::vector<std::uint8_t> out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

inline void set_be32(std::vector<std::uint8_t>& data, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// One structural change; false when the chunks give it nothing to work on.
inline bool mutate_chunks(std::vector<PngChunk>& chunks, std::minstd_rand& rng, std::size_t max_size) {
  const auto ihdr = std::find_if(chunks.begin(), chunks.end(), [](const PngChunk& c) { return c.type == "IHDR"; });
  const auto first_idat =
      std::find_if(chunks.begin(), chunks.end(), [](const PngChunk& c) { return c.type == "IDAT"; });
  switch (rng() % 6) {
    case 0: {  // a header field
      if (ihdr == chunks.end() || ihdr->data.size() < 13) return false;
      static constexpr std::array<std::uint32_t, 16> kSides = {0,  1,   2,   3,   7,    8,    9,    15,
                                                               16, 255, 256, 257, 4095, 4096, 4097, 0x7fffffff};
      static constexpr std::array<std::uint8_t, 6> kDepths = {1, 2, 4, 8, 16, 3};
      static constexpr std::array<std::uint8_t, 6> kTypes = {0, 2, 3, 4, 6, 5};
      switch (rng() % 5) {
        case 0: set_be32(ihdr->data, 0, pick(rng, kSides)); break;
        case 1: set_be32(ihdr->data, 4, pick(rng, kSides)); break;
        case 2: ihdr->data[8] = pick(rng, kDepths); break;
        case 3: ihdr->data[9] = pick(rng, kTypes); break;
        default: ihdr->data[10 + rng() % 3] = static_cast<std::uint8_t>(rng() % 3); break;
      }
      return true;
    }
    case 1:
    case 2: {  // the image data, changed or made to fit the header, then deflated again
      if (ihdr == chunks.end()) return false;
      constexpr std::size_t kCap = 1u << 20;
      std::vector<std::uint8_t> raw = inflate_idat(chunks, kCap);
      if (rng() % 2 == 0) {
        const std::size_t want = raw_size_for(*ihdr, kCap);
        raw.resize(want, static_cast<std::uint8_t>(rng()));
        const std::size_t row =
            ihdr->data.size() >= 13 && raw.size() > 0
                ? std::max<std::size_t>(1, raw.size() / std::max<std::uint32_t>(1, read_be32(ihdr->data.data() + 4)))
                : 1;
        for (std::size_t i = 0; i < raw.size(); i += row) raw[i] = static_cast<std::uint8_t>(rng() % 5);  // filters
      } else if (raw.empty()) {
        raw = random_bytes(rng, 1 + rng() % 64);
      } else {
        const std::size_t size = std::min(raw.size(), kCap / 2);
        raw.resize(size * 2 + 64);
        raw.resize(LLVMFuzzerMutate(raw.data(), size, raw.size()));
      }
      std::vector<std::uint8_t> packed = deflate_bytes(raw, static_cast<int>(rng() % 10));
      if (packed.size() + 256 > max_size) return false;
      std::erase_if(chunks, [](const PngChunk& c) { return c.type == "IDAT"; });
      auto at = std::find_if(chunks.begin(), chunks.end(), [](const PngChunk& c) { return c.type == "IEND"; });
      const std::size_t parts = 1 + rng() % 3;
      const std::size_t step = packed.size() / parts + 1;
      for (std::size_t from = 0; from < packed.size() || from == 0; from += step) {
        PngChunk c{"IDAT", std::vector<std::uint8_t>(
                               packed.begin() + static_cast<std::ptrdiff_t>(from),
                               packed.begin() + static_cast<std::ptrdiff_t>(std::min(packed.size(), from + step)))};
        at = chunks.insert(at, std::move(c)) + 1;
        if (packed.empty()) break;
      }
      return true;
    }
    case 3: {  // an ancillary chunk where the image data starts
      PngChunk c;
      switch (rng() % 7) {
        case 0: c = {"PLTE", random_bytes(rng, 3 * (rng() % 258))}; break;
        case 1: c = {"tRNS", random_bytes(rng, rng() % 260)}; break;
        case 2: c = {"gAMA", random_bytes(rng, 4)}; break;
        case 3: c = {"sRGB", {static_cast<std::uint8_t>(rng() % 5)}}; break;
        case 4: c = {"bKGD", random_bytes(rng, 1 + rng() % 6)}; break;
        case 5: c = {"tEXt", {'k', 0, 'v'}}; break;
        default: c = {"zzXy", random_bytes(rng, rng() % 16)}; break;
      }
      chunks.insert(first_idat, std::move(c));
      return true;
    }
    case 4: {  // a chunk removed, doubled or moved
      if (chunks.size() < 2) return false;
      const std::size_t i = rng() % chunks.size(), j = rng() % chunks.size();
      switch (rng() % 3) {
        case 0: chunks.erase(chunks.begin() + static_cast<std::ptrdiff_t>(i)); break;
        case 1: chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(j), chunks[i]); break;
        default: std::swap(chunks[i], chunks[j]); break;
      }
      return true;
    }
    default: {  // one chunk's bytes
      PngChunk& c = chunks[rng() % chunks.size()];
      if (c.data.empty()) {
        c.data = random_bytes(rng, 1 + rng() % 16);
        return true;
      }
      const std::size_t size = c.data.size();
      c.data.resize(size * 2 + 16);
      c.data.resize(LLVMFuzzerMutate(c.data.data(), size, c.data.size()));
      return true;
    }
  }
}

// libFuzzer's custom mutator: a structural change to a PNG, its checksums made right; anything
// that is no PNG (or does not fit) gets libFuzzer's own byte mutations.
inline std::size_t mutate_png(std::uint8_t* data, std::size_t size, std::size_t max_size, unsigned int seed) {
  std::minstd_rand rng(seed);
  auto chunks = parse_png(data, size);
  if (chunks && rng() % 8 != 0) {
    for (int tries = 0; tries < 4; ++tries) {
      auto changed = *chunks;
      if (!mutate_chunks(changed, rng, max_size)) continue;
      const std::vector<std::uint8_t> out = assemble_png(changed);
      if (out.size() > max_size) continue;
      std::memcpy(data, out.data(), out.size());
      return out.size();
    }
  }
  return LLVMFuzzerMutate(data, size, max_size);
}

}  // namespace maps::fuzzing
