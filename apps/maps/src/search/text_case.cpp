#include "search/text_case.hpp"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/text.hpp"
#include "base/utf8.hpp"

namespace maps::search {
namespace {

constexpr char32_t kFoldFirst = 0xC0;
constexpr char32_t kFoldLast = 0xFC;
constexpr char32_t kReplacement = 0xFFFD;

struct FoldRow {
  std::u32string_view letters;
  std::string_view becomes;
};

// Æ Ð × Ý Þ æ ð ÷ have no row: they are only lower-cased.
constexpr FoldRow kFoldRows[] = {
    {U"ÀÁÂÃÄÅàáâãäå", "a"}, {U"Çç", "c"},           {U"ÈÉÊËèéêë", "e"}, {U"ÌÍÎÏìíîï", "i"},
    {U"Ññ", "n"},           {U"ÒÓÔÕÖØòóôõöø", "o"}, {U"ÙÚÛÜùúûü", "u"}, {U"ß", "ss"},
};

constexpr auto kFoldTable = [] {
  std::array<std::string_view, kFoldLast - kFoldFirst + 1> table{};
  for (const FoldRow& row : kFoldRows) {
    for (char32_t c : row.letters) table[c - kFoldFirst] = row.becomes;
  }
  return table;
}();

std::string_view fold_row(UChar32 c) {
  if (c < static_cast<UChar32>(kFoldFirst) || c > static_cast<UChar32>(kFoldLast)) return {};
  return kFoldTable[static_cast<std::size_t>(c) - kFoldFirst];
}

// ICU takes lengths as 32-bit numbers, and a lower case may be three times as long in UTF-8.
constexpr std::size_t kLongestForIcu = std::numeric_limits<std::int32_t>::max() / 4;

char ascii_lower_char(UChar32 c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

// The same as ICU's White_Space for these code points.
bool is_ascii_space(UChar32 c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

bool is_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Without ICU: ASCII letters lowered, other characters kept, each invalid sequence replaced.
std::string lower_ascii_only(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, text.size(), c);
    if (c < 0) {
      base::append_utf8(out, kReplacement);
    } else if (c < 0x80) {
      out.push_back(ascii_lower_char(c));
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  return out;
}

// The root locale's full lower case of the whole text, so a final sigma is seen in its context.
std::string lower_with_icu(const IcuLibrary& icu, std::string_view text) {
  std::vector<UChar> src(text.size());  // never more UTF-16 units than UTF-8 bytes
  std::int32_t src_len = 0;
  UErrorCode status = U_ZERO_ERROR;
  icu.str_from_utf8(src.data(), static_cast<std::int32_t>(src.size()), &src_len, text.data(),
                    static_cast<std::int32_t>(text.size()), static_cast<UChar32>(kReplacement), nullptr, &status);
  if (U_FAILURE(status)) return lower_ascii_only(text);
  std::vector<UChar> lower(static_cast<std::size_t>(src_len) + 16);
  status = U_ZERO_ERROR;
  std::int32_t lower_len =
      icu.str_to_lower(lower.data(), static_cast<std::int32_t>(lower.size()), src.data(), src_len, "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    lower.resize(static_cast<std::size_t>(lower_len));
    status = U_ZERO_ERROR;
    lower_len =
        icu.str_to_lower(lower.data(), static_cast<std::int32_t>(lower.size()), src.data(), src_len, "", &status);
  }
  if (U_FAILURE(status)) return lower_ascii_only(text);
  std::string out(static_cast<std::size_t>(lower_len) * 3, '\0');  // at most three bytes a unit
  std::int32_t out_len = 0;
  status = U_ZERO_ERROR;
  icu.str_to_utf8(out.data(), static_cast<std::int32_t>(out.size()), &out_len, lower.data(), lower_len,
                  static_cast<UChar32>(kReplacement), nullptr, &status);
  if (U_FAILURE(status)) return lower_ascii_only(text);
  out.resize(static_cast<std::size_t>(out_len));
  return out;
}

// The full lower case of one character on its own (no context from its neighbours).
void append_lower_char(std::string& out, const IcuLibrary& icu, UChar32 c) {
  UChar src[2];
  std::int32_t src_len = 0;
  UBool error = false;
  U16_APPEND(src, src_len, 2, c, error);
  UChar dst[8];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t n = icu.str_to_lower(dst, 8, src, src_len, "", &status);
  if (U_FAILURE(status) || error) {
    base::append_utf8(out, static_cast<char32_t>(c));
    return;
  }
  for (std::int32_t i = 0; i < n;) {
    UChar32 lc = 0;
    U16_NEXT(dst, i, n, lc);
    base::append_utf8(out, static_cast<char32_t>(lc));
  }
}

}  // namespace

std::string lower_case_text(std::string_view text) { return lower_case_text(text, process_icu()); }

std::string lower_case_text(std::string_view text, IcuLoader& icu) {
  // ASCII alone has ICU's root lower case without it.
  if (is_ascii(text)) return base::ascii_lower(text);
  const IcuLibrary* lib = text.size() <= kLongestForIcu ? icu.get() : nullptr;
  return lib ? lower_with_icu(*lib, text) : lower_ascii_only(text);
}

std::string fold_search_text(std::string_view text) { return fold_search_text(text, process_icu()); }

std::string fold_search_text(std::string_view text, IcuLoader& icu) {
  const std::string_view trimmed = base::trim_white_space(text);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(trimmed.data());
  const std::size_t len = trimmed.size();
  std::string out;
  out.reserve(len);
  bool in_space = false;
  for (std::size_t i = 0; i < len;) {
    const std::size_t start = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, len, c);
    if (c < 0) c = static_cast<UChar32>(kReplacement);  // a byte that is not valid UTF-8
    const IcuLibrary* lib = nullptr;
    // ASCII, the folding table and the replacement character need no ICU.
    const bool own = c < 0x80 || !fold_row(c).empty() || c == static_cast<UChar32>(kReplacement);
    if (!own) lib = icu.get();
    const bool space = c < 0x80 ? is_ascii_space(c) : lib != nullptr && lib->is_white_space(c);
    if (space) {
      if (!in_space && !out.empty()) out.push_back(' ');
      in_space = true;
      continue;
    }
    in_space = false;
    if (c < 0x80) {
      out.push_back(ascii_lower_char(c));
    } else if (const std::string_view row = fold_row(c); !row.empty()) {
      out += row;
    } else if (c == static_cast<UChar32>(kReplacement)) {
      base::append_utf8(out, kReplacement);
    } else if (lib != nullptr) {
      append_lower_char(out, *lib, c);
    } else {
      out.append(trimmed.substr(start, i - start));
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace maps::search
