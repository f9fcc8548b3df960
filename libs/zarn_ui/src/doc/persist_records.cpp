#include "persist_records.hpp"

#include <algorithm>

namespace zarn_ui::persist::detail {
namespace {

constexpr std::array<std::uint8_t, 4> kSnapshotMagic = {'Z', 'S', 'N', 'P'};
constexpr std::array<std::uint8_t, 4> kLogMagic = {'Z', 'L', 'O', 'G'};
constexpr std::uint8_t kVersion = 1;

// CRC-32 (the reflected 0xedb88320 polynomial) eight bytes at a time: table k holds the CRC of a
// byte followed by k zero bytes.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

const CrcTables& crc_tables() {
  static const CrcTables tables = [] {
    CrcTables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
      t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i) {
      for (std::size_t k = 1; k < t.size(); ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xff];
    }
    return t;
  }();
  return tables;
}

void put_u32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t get_u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

const std::array<std::uint8_t, 4>& magic(FileKind kind) {
  return kind == FileKind::Snapshot ? kSnapshotMagic : kLogMagic;
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> data) {
  const CrcTables& t = crc_tables();
  std::uint32_t c = 0xffffffffu;
  const std::uint8_t* p = data.data();
  std::size_t n = data.size();
  for (; n >= 8; n -= 8, p += 8) {
    const std::uint32_t lo = get_u32(p) ^ c;
    const std::uint32_t hi = get_u32(p + 4);
    c = t[7][lo & 0xff] ^ t[6][(lo >> 8) & 0xff] ^ t[5][(lo >> 16) & 0xff] ^ t[4][lo >> 24] ^ t[3][hi & 0xff] ^
        t[2][(hi >> 8) & 0xff] ^ t[1][(hi >> 16) & 0xff] ^ t[0][hi >> 24];
  }
  for (; n > 0; --n, ++p) c = t[0][(c ^ *p) & 0xff] ^ (c >> 8);
  return c ^ 0xffffffffu;
}

Bytes file_header(FileKind kind, const Generation& generation) {
  Bytes out(magic(kind).begin(), magic(kind).end());
  out.push_back(kVersion);
  out.resize(8, 0);
  out.insert(out.end(), generation.begin(), generation.end());
  return out;
}

bool header_ok(FileKind kind, std::span<const std::uint8_t> data) {
  if (data.size() < kHeaderSize) return false;
  const auto& m = magic(kind);
  return std::equal(m.begin(), m.end(), data.begin()) && data[4] == kVersion && data[5] == 0 && data[6] == 0 &&
         data[7] == 0;
}

Generation header_generation(std::span<const std::uint8_t> data) {
  Generation g{};
  std::copy(data.begin() + 8, data.begin() + 16, g.begin());
  return g;
}

void append_record(Bytes& out, std::span<const std::uint8_t> payload) {
  put_u32(out, static_cast<std::uint32_t>(payload.size()));
  put_u32(out, crc32(payload));
  out.insert(out.end(), payload.begin(), payload.end());
}

ParsedRecords parse_records(std::span<const std::uint8_t> data, std::size_t offset) {
  ParsedRecords out;
  std::size_t pos = offset;
  out.good_end = offset;
  while (pos < data.size()) {
    if (data.size() - pos < kFrameSize) {
      out.problem = "torn record header";
      break;
    }
    std::uint32_t len = get_u32(data.data() + pos);
    std::uint32_t crc = get_u32(data.data() + pos + 4);
    if (len > kMaxRecord) {
      out.problem = "record length out of range";
      break;
    }
    if (data.size() - pos - kFrameSize < len) {
      out.problem = "torn record";
      break;
    }
    auto payload = data.subspan(pos + kFrameSize, len);
    if (crc32(payload) != crc) {
      out.problem = "record checksum mismatch";
      break;
    }
    pos += kFrameSize + len;
    out.payloads.push_back(payload);
    out.ends.push_back(pos);
    out.good_end = pos;
  }
  out.damaged = out.good_end != data.size();
  return out;
}

}  // namespace zarn_ui::persist::detail
