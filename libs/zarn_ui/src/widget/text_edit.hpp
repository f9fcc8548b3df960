#pragma once
// Character-level editing of UTF-8 text for single-line fields. A character is a code point
// with the combining marks, variation selectors and joined code points that follow it, so the
// caret never lands inside a UTF-8 sequence nor between a letter and its accent. Bytes that are
// not valid UTF-8 count as one character each, so any text can be edited without a crash.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zarn_ui::widgets::text_edit {

// Byte offsets where a character starts, with 0 first and the text's size last.
std::vector<std::size_t> boundaries(std::string_view text);

// The last boundary at or before `at` (the text's size for offsets past its end).
std::size_t snap(std::string_view text, std::size_t at);
// The boundary before / after `at`; 0 and the size stay where they are.
std::size_t prev_char(std::string_view text, std::size_t at);
std::size_t next_char(std::string_view text, std::size_t at);
// The start of the word before `at`, and the end of the word after it. Spaces and
// punctuation between words are skipped first.
std::size_t word_left(std::string_view text, std::size_t at);
std::size_t word_right(std::string_view text, std::size_t at);

// Text fit for a single line: invalid UTF-8 becomes U+FFFD, line breaks and tabs become one
// space each (CR LF together one), other control characters are dropped.
std::string sanitize_line(std::string_view text);

// The byte offset of the `n`th code point (the size when the text has fewer).
std::size_t code_point_offset(std::string_view text, std::size_t n);

// The longest prefix of at most `max_bytes` bytes that ends on a boundary.
std::size_t fit_prefix(std::string_view text, std::size_t max_bytes);

// `at`, or the start of the UTF-8 sequence that holds the byte at `at`: a cut there splits no
// code point.
std::size_t code_point_floor(std::string_view text, std::size_t at);

}  // namespace zarn_ui::widgets::text_edit
