#pragma once
// The accessibility tree a widget describes itself with: nodes with a role, a name, a stable id
// and key, bounds, state flags and the one semantic action each offers. Assistive front ends
// (and tests) read it; activating a node comes back to the widget as a semantic action on the
// node's id.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zarn_ui/geometry.hpp"

namespace zarn_ui::access {

// Role values are stable numbers: front ends map them to their platform's roles.
enum class Role : std::uint8_t {
  Unknown = 0,
  Window = 1,
  Group = 2,
  Dialog = 3,
  Label = 4,
  TextField = 9,
  List = 12,
  ListItem = 13,
  Button = 17,
  ToggleButton = 18,
};

// What a front end can ask of a node.
enum class SemanticAction : std::uint8_t {
  None = 0,
  Activate = 1,           // the primary activation: a click, Enter, Space
  ActivateSecondary = 2,  // the secondary activation of a node that has one
  Focus = 3,
  Increment = 4,
  Decrement = 5,
};

// Both activations; Focus, Increment and Decrement are not.
constexpr bool is_activation(SemanticAction a) {
  return a == SemanticAction::Activate || a == SemanticAction::ActivateSecondary;
}

namespace flags {
inline constexpr std::uint32_t kHidden = 0x1;   // in the tree but not shown
inline constexpr std::uint32_t kChecked = 0x2;  // a toggle that is on
}  // namespace flags

// A stable 64-bit key for a node id: FNV-1a over the id's bytes followed by one 0xFF byte.
std::uint64_t node_key(std::string_view id);

struct AccessNode {
  Role role = Role::Unknown;
  std::optional<std::string> name;
  std::string id;
  std::uint64_t key = 0;
  Rect bounds;
  std::uint32_t flags = 0;
  SemanticAction action = SemanticAction::None;
  std::vector<AccessNode> children;
  bool operator==(const AccessNode&) const = default;

  static AccessNode with_role(Role role) {
    AccessNode n;
    n.role = role;
    return n;
  }
  AccessNode with_name(std::string text) && {
    name = std::move(text);
    return std::move(*this);
  }
  // An empty text leaves the node without a name.
  AccessNode with_optional_name(std::string text) && {
    if (text.empty()) {
      name.reset();
    } else {
      name = std::move(text);
    }
    return std::move(*this);
  }
  // Sets the id and the key made from it.
  AccessNode with_id(std::string text) && {
    key = node_key(text);
    id = std::move(text);
    return std::move(*this);
  }
  AccessNode with_bounds(const Rect& rect) && {
    bounds = rect;
    return std::move(*this);
  }
  AccessNode with_flags(std::uint32_t f) && {
    flags = f;
    return std::move(*this);
  }
  AccessNode with_action(SemanticAction a) && {
    action = a;
    return std::move(*this);
  }
  AccessNode with_children(std::vector<AccessNode> nodes) && {
    children = std::move(nodes);
    return std::move(*this);
  }

  bool has_flag(std::uint32_t f) const { return (flags & f) != 0; }
  // This node or the first descendant with the id, depth first in child order.
  const AccessNode* find(std::string_view node_id) const;
};

}  // namespace zarn_ui::access
