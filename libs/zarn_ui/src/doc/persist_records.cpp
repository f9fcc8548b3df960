#include "persist_records.hpp"

#include <algorithm>

namespace zarn_ui::persist::detail {
namespace {

constexpr std::array<std::uint8_t, 4> kSnapshotMagic = {'Z', 'S', 'N', 'P'};
constexpr std::array<std::uint8_t, 4> kLogMagic = {'Z', 'L', 'O', 'G'};
constexpr std::uint8_t kVersion = 1;

const std::array<std::uint32_t, 256>& crc_table() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
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
  const auto& t = crc_table();
  std::uint32_t c = 0xffffffffu;
  for (std::uint8_t b : data) c = t[(c ^ b) & 0xff] ^ (c >> 8);
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
