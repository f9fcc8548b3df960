#pragma once
// What the widgets may do on the user's behalf.

#include <string>
#include <string_view>
#include <unordered_set>

namespace zarn_ui::permissions {

class PermissionContext {
 public:
  // Everything allowed: the window acts for its own user.
  static PermissionContext permissive() {
    PermissionContext p;
    p.all_ = true;
    return p;
  }
  // Nothing allowed unless granted.
  static PermissionContext restricted() { return {}; }
  void grant(std::string capability) { granted_.insert(std::move(capability)); }
  bool allows(std::string_view capability) const { return all_ || granted_.count(std::string(capability)) != 0; }

 private:
  bool all_ = false;
  std::unordered_set<std::string> granted_;
};

}  // namespace zarn_ui::permissions
