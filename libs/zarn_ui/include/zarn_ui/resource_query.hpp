#pragma once
// A paged query of a widget's resources.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "zarn_actions/resource.hpp"

namespace zarn_ui::resource_query {

struct ResourceQuery {
  std::string text;                         // what the front end looks for; empty lists all
  std::optional<std::string> continuation;  // from the previous page; none for the first
  std::size_t page_size = 0;
};

struct ResourcePage {
  std::vector<zarn_actions::resource::Resource> items;
  std::string continuation;  // empty: no further page
  bool complete = false;     // the page holds everything the query matched
};

}  // namespace zarn_ui::resource_query
