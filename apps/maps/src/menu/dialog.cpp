#include "menu/dialog.hpp"

namespace maps {

// The dialog stays closed.
void Dialog::open_attribution_dialog(bool /*licences*/) {}

// Every event stops at the dialog.
bool Dialog::modal_dialog_event(const zarn_ui::widget::Event& /*event*/, double /*scale*/) { return true; }

// The dialog never asks to be closed.
bool Dialog::take_dialog_close_request() { return false; }

}  // namespace maps
