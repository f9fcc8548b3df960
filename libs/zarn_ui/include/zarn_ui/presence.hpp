#pragma once
// Who else is looking at a widget's document. A single-user window has nobody.

#include <string>
#include <vector>

namespace zarn_ui::presence {

struct PresenceCtx {
  std::vector<std::string> peers;
  bool operator==(const PresenceCtx&) const = default;

  static PresenceCtx empty() { return {}; }
  bool is_empty() const { return peers.empty(); }
};

}  // namespace zarn_ui::presence
