#include "seq_index.hpp"

#include <algorithm>

namespace automerge::detail {

std::size_t SeqIndex::rank_of(std::size_t pos) const {
  auto it = std::lower_bound(visible_.begin(), visible_.end(), pos,
                             [](const Visible& v, std::size_t p) { return v.pos < p; });
  return static_cast<std::size_t>(it - visible_.begin());
}

std::size_t SeqIndex::text_offset(std::size_t rank) const {
  if (rank == visible_.size()) return text_.size();  // appending, the common case
  std::size_t offset = 0;
  for (std::size_t i = 0; i < rank; ++i) offset += visible_[i].bytes;
  return offset;
}

void SeqIndex::inserted(std::size_t pos, std::string_view s) {
  const std::size_t rank = rank_of(pos);
  for (std::size_t i = rank; i < visible_.size(); ++i) ++visible_[i].pos;
  shown(pos, s);
}

void SeqIndex::shown(std::size_t pos, std::string_view s) {
  const std::size_t rank = rank_of(pos);
  if (is_visible_at(rank, pos)) return;
  if (!holds_text_) s = {};
  text_.insert(text_offset(rank), s);
  if (visible_.capacity() == 0) visible_.reserve(8);  // most texts are short names
  visible_.insert(visible_.begin() + static_cast<std::ptrdiff_t>(rank),
                  Visible{static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(s.size())});
}

void SeqIndex::hidden(std::size_t pos) {
  const std::size_t rank = rank_of(pos);
  if (!is_visible_at(rank, pos)) return;
  text_.erase(text_offset(rank), visible_[rank].bytes);
  visible_.erase(visible_.begin() + static_cast<std::ptrdiff_t>(rank));
}

void SeqIndex::changed(std::size_t pos, std::string_view s) {
  const std::size_t rank = rank_of(pos);
  if (!holds_text_ || !is_visible_at(rank, pos)) return;
  text_.replace(text_offset(rank), visible_[rank].bytes, s);
  visible_[rank].bytes = static_cast<std::uint32_t>(s.size());
}

}  // namespace automerge::detail
