#pragma once
// A node of an application's resource tree: something the action system can list, with the
// actions offered on it and its child resources.

#include <string>
#include <string_view>
#include <vector>

#include "zarn_actions/action_contract.hpp"

namespace zarn_actions::resource {

struct Resource {
  std::string id;
  std::string kind;
  std::string title;
  std::vector<ActionSpec> actions;
  std::vector<Resource> children;

  Resource(std::string id, std::string kind, std::string title);

  // Append in call order.
  Resource& with_action(ActionSpec spec) &;
  Resource&& with_action(ActionSpec spec) &&;
  Resource& with_child(Resource child) &;
  Resource&& with_child(Resource child) &&;

  const ActionSpec* find_action(std::string_view action_id) const;
  // This resource or the first descendant with the id, depth first in child order.
  const Resource* find(std::string_view resource_id) const;
};

}  // namespace zarn_actions::resource
