#include <optional>
#include <vector>

#include "base/utf8.hpp"
#include "zarn_ui/doc.hpp"

namespace zarn_ui::doc {
namespace {

// Byte offsets of each code point's start, plus the end; none for invalid UTF-8.
std::optional<std::vector<std::size_t>> boundaries(std::string_view s) {
  std::vector<std::size_t> out;
  std::size_t i = 0;
  while (i < s.size()) {
    out.push_back(i);
    const std::size_t n = base::utf8_sequence_length(s, i);
    if (n == 0) return std::nullopt;
    i += n;
  }
  out.push_back(s.size());
  return out;
}

}  // namespace

base::Status splice_text_diffed(automerge::AutoCommit& doc, const automerge::ExId& text_obj,
                                std::string_view new_text) {
  auto current = doc.text(text_obj);
  if (!current) return base::err(current.error());
  const std::string& old_text = *current;
  if (old_text == new_text) return {};
  auto ob = boundaries(old_text);
  auto nb = boundaries(new_text);
  if (!ob || !nb) return base::err("text is not valid UTF-8");
  std::size_t old_n = ob->size() - 1, new_n = nb->size() - 1;
  auto cp = [](std::string_view s, const std::vector<std::size_t>& b, std::size_t i) {
    return s.substr(b[i], b[i + 1] - b[i]);
  };
  std::size_t prefix = 0;
  while (prefix < old_n && prefix < new_n && cp(old_text, *ob, prefix) == cp(new_text, *nb, prefix)) ++prefix;
  std::size_t suffix = 0;
  while (suffix < old_n - prefix && suffix < new_n - prefix &&
         cp(old_text, *ob, old_n - 1 - suffix) == cp(new_text, *nb, new_n - 1 - suffix)) {
    ++suffix;
  }
  // The diff counts one element per code point, which holds for every text this side writes. A
  // merged-in element holding several code points, or none, shifts the positions: then the
  // whole content is replaced, so the text still ends up exactly as asked.
  auto replace_all = [&] { return doc.splice_text(text_obj, 0, doc.length(text_obj), new_text); };
  if (doc.length(text_obj) != old_n) return replace_all();
  std::string_view middle = new_text.substr((*nb)[prefix], (*nb)[new_n - suffix] - (*nb)[prefix]);
  if (auto ok = doc.splice_text(text_obj, prefix, old_n - prefix - suffix, middle); !ok) return ok;
  auto written = doc.text(text_obj);
  if (written && *written == new_text) return {};
  return replace_all();
}

}  // namespace zarn_ui::doc
