#pragma once
// A resource tree as rows of text, one per resource in depth-first order:
// "id | kind | title | action ids" (children indented by two spaces per level).

#include <string>
#include <vector>

#include "zarn_actions/resource.hpp"

namespace maps::testing {

inline void append_rows(const zarn_actions::resource::Resource& r, int depth, std::vector<std::string>& out) {
  std::string row(static_cast<std::size_t>(depth) * 2, ' ');
  row += r.id + " | " + r.kind + " | " + r.title + " |";
  for (const auto& a : r.actions) row += " " + a.id;
  out.push_back(std::move(row));
  for (const auto& c : r.children) append_rows(c, depth + 1, out);
}

inline std::vector<std::string> resource_rows(const std::vector<zarn_actions::resource::Resource>& roots) {
  std::vector<std::string> out;
  for (const auto& r : roots) append_rows(r, 0, out);
  return out;
}

}  // namespace maps::testing
