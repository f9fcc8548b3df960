#pragma once
// Framing of the document files. A file starts with a 16-byte header (4-byte magic, version,
// three zero bytes, an 8-byte generation that changes whenever the file is replaced); each record is a little-endian
// u32 length, a u32 CRC-32 of the payload, then the payload.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zarn_ui::persist::detail {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kFrameSize = 8;
constexpr std::uint32_t kMaxRecord = 256u << 20;  // a longer length field is damage, not data

enum class FileKind : std::uint8_t { Snapshot, Log };

std::uint32_t crc32(std::span<const std::uint8_t> data);
using Generation = std::array<std::uint8_t, 8>;

Bytes file_header(FileKind kind, const Generation& generation);
bool header_ok(FileKind kind, std::span<const std::uint8_t> data);
Generation header_generation(std::span<const std::uint8_t> data);  // of a header that is ok
void append_record(Bytes& out, std::span<const std::uint8_t> payload);

struct ParsedRecords {
  std::vector<std::span<const std::uint8_t>> payloads;
  std::vector<std::size_t> ends;  // offset just past each record
  std::size_t good_end = 0;       // offset past the last whole record
  bool damaged = false;           // bytes after good_end that are not a whole, valid record
  std::string problem;
};

// Reads records from `data` starting at `offset` (past the header for a whole file).
ParsedRecords parse_records(std::span<const std::uint8_t> data, std::size_t offset);

}  // namespace zarn_ui::persist::detail
