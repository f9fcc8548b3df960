#include <string>
#include <vector>

#include "zarn_actions/context.hpp"

namespace zarn_actions::context {

namespace {

// Bytes of UTF-8 sequences count as lower-case letters so they stay inside their word.
enum class Class { Upper, Lower, Digit, Separator };

Class classify(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return Class::Upper;
  if ((b >= 'a' && b <= 'z') || b >= 0x80) return Class::Lower;
  if (b >= '0' && b <= '9') return Class::Digit;
  return Class::Separator;
}

char to_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char to_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> split_words(std::string_view id) {
  std::vector<std::string> words;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) words.push_back(std::move(word));
    word.clear();
  };
  for (std::size_t i = 0; i < id.size(); ++i) {
    const Class cls = classify(id[i]);
    if (cls == Class::Separator) {
      flush();
      continue;
    }
    if (!word.empty()) {
      const Class prev = classify(id[i - 1]);
      const bool next_lower = i + 1 < id.size() && classify(id[i + 1]) == Class::Lower;
      const bool starts_word = (cls == Class::Upper && (prev == Class::Lower || prev == Class::Digit ||
                                                        (prev == Class::Upper && next_lower))) ||
                               (cls == Class::Digit && (prev == Class::Upper || prev == Class::Lower));
      if (starts_word) flush();
    }
    word.push_back(id[i]);
  }
  flush();
  return words;
}

// Two or more capitals and no small letter: an acronym, kept as written.
bool is_acronym(const std::string& word) {
  int upper = 0;
  for (char c : word) {
    const Class cls = classify(c);
    if (cls == Class::Lower) return false;
    if (cls == Class::Upper) ++upper;
  }
  return upper >= 2;
}

}  // namespace

std::string humanize_identifier(std::string_view identifier) {
  std::string out;
  out.reserve(identifier.size() + 4);
  for (std::string& word : split_words(identifier)) {
    if (!is_acronym(word)) {
      for (char& c : word) c = to_lower(c);
    }
    if (out.empty()) {
      word[0] = to_upper(word[0]);
    } else {
      out.push_back(' ');
    }
    out += word;
  }
  return out;
}

}  // namespace zarn_actions::context
