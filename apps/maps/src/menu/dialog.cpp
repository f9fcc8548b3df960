#include "menu/dialog.hpp"

namespace maps {

// The dialog stays closed.
void Dialog::open_attribution_dialog(bool /*licences*/) {}

// Every event stops at the dialog.
bool Dialog::modal_dialog_event(const zarn_ui::widget::Event& /*event*/, double /*scale*/) { return true; }

// The dialog never asks to be closed.
bool Dialog::take_dialog_close_request() { return false; }

// A window node without name or buttons, hidden while the dialog is closed.
zarn_ui::access::AccessNode modal_access_node(const Dialog& dialog) {
  return zarn_ui::access::AccessNode::with_role(zarn_ui::access::Role::Window)
      .with_flags(dialog.is_open() ? 0u : zarn_ui::access::flags::kHidden);
}

}  // namespace maps
