#include "search/text_case.hpp"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <cstdint>

#include "base/text.hpp"
#include "base/utf8.hpp"

namespace maps::search {
namespace {

constexpr char32_t kFoldFirst = 0xC0;
constexpr char32_t kFoldLast = 0xFC;

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

// The full lower case of one character on its own (no context from its neighbours).
void append_lower_char(std::string& out, UChar32 c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    return;
  }
  UChar src[2];
  std::int32_t src_len = 0;
  UBool error = false;
  U16_APPEND(src, src_len, 2, c, error);
  UChar dst[8];
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t n = u_strToLower(dst, 8, src, src_len, "", &status);
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

std::string lower_case_text(std::string_view text) {
  icu::UnicodeString u =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
  u.toLower(icu::Locale::getRoot());
  std::string out;
  u.toUTF8String(out);
  return out;
}

std::string fold_search_text(std::string_view text) {
  const std::string_view trimmed = base::trim_white_space(text);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(trimmed.data());
  const auto len = static_cast<std::int32_t>(trimmed.size());
  std::string out;
  out.reserve(trimmed.size());
  bool in_space = false;
  for (std::int32_t i = 0; i < len;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, len, c);
    if (c < 0) c = 0xFFFD;  // a byte that is not valid UTF-8
    if (u_isUWhiteSpace(c)) {
      if (!in_space && !out.empty()) out.push_back(' ');
      in_space = true;
      continue;
    }
    in_space = false;
    if (c >= static_cast<UChar32>(kFoldFirst) && c <= static_cast<UChar32>(kFoldLast) &&
        !kFoldTable[static_cast<std::size_t>(c) - kFoldFirst].empty()) {
      out += kFoldTable[static_cast<std::size_t>(c) - kFoldFirst];
    } else {
      append_lower_char(out, c);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace maps::search
