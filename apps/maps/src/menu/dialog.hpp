#pragma once
// The modal dialog of the window: "Attribution" or "Licenses".

#include "zarn_ui/access.hpp"
#include "zarn_ui/events.hpp"

namespace maps {

class Dialog {
 public:
  bool is_open() const { return open_; }
  // The attribution dialog, or the licences dialog when `licences` is set.
  void open_attribution_dialog(bool licences);
  // An event while the dialog is open; true when the dialog took it.
  bool modal_dialog_event(const zarn_ui::widget::Event& event, double scale);
  // True once after the open dialog asked to be closed.
  bool take_dialog_close_request();
  // Shows the dialog as it stands.
  void open() { open_ = true; }
  void close() { open_ = false; }

 private:
  bool open_ = false;
};

// The dialog's accessibility node: the whole tree while it is open.
zarn_ui::access::AccessNode modal_access_node(const Dialog& dialog);

}  // namespace maps
