#pragma once
// Who asks for an action: the caller's identity and a human label, completed from the host.

#include <map>
#include <string>
#include <string_view>

namespace zarn_actions::context {

struct ActionContext {
  std::string app_id;    // reverse-DNS id of the asking application, e.g. "org.example.App"
  std::string app_name;  // its display name
  std::string label;     // what the action does, for people ("Clear recents")
  std::string source;    // how it was asked: "keyboard", "agent", ...; empty when unknown
  std::string window_id;
  std::map<std::string, std::string> metadata;

  bool operator==(const ActionContext&) const = default;

  bool is_empty() const { return *this == ActionContext{}; }

  // This context with every empty member taken from `host`; metadata keys missing here are
  // added from the host's. What the caller set always wins.
  ActionContext enriched_by(const ActionContext& host) const;
};

// A label from a code identifier: "ClearRecents" -> "Clear recents", "set_travel_mode" ->
// "Set travel mode". Acronyms stay upper case ("OpenPOIList" -> "Open POI list"), digit runs
// start a word ("Top10Places" -> "Top 10 places"). Only ASCII letters change case.
std::string humanize_identifier(std::string_view identifier);

}  // namespace zarn_actions::context
