#include "zarn_actions/resource.hpp"

namespace zarn_actions::resource {

Resource::Resource(std::string id, std::string kind, std::string title)
    : id(std::move(id)), kind(std::move(kind)), title(std::move(title)) {}

Resource& Resource::with_action(ActionSpec spec) & {
  actions.push_back(std::move(spec));
  return *this;
}
Resource&& Resource::with_action(ActionSpec spec) && { return std::move(with_action(std::move(spec))); }

Resource& Resource::with_child(Resource child) & {
  children.push_back(std::move(child));
  return *this;
}
Resource&& Resource::with_child(Resource child) && { return std::move(with_child(std::move(child))); }

const ActionSpec* Resource::find_action(std::string_view action_id) const {
  for (const ActionSpec& spec : actions) {
    if (spec.id == action_id) return &spec;
  }
  return nullptr;
}

const Resource* Resource::find(std::string_view resource_id) const {
  if (id == resource_id) return this;
  for (const Resource& child : children) {
    if (const Resource* found = child.find(resource_id)) return found;
  }
  return nullptr;
}

}  // namespace zarn_actions::resource
