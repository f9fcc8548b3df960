#pragma once
// The window's dialog slot: the dialog shown ("Attribution" or "Licenses"), or none. Its
// buttons and its dismiss action only raise the slot's close flag; the input handling closes
// the dialog once the event that raised it has been handled.

#include <cstdint>
#include <memory>
#include <string_view>

#include "menu/modal_dialog.hpp"
#include "zarn_ui/access.hpp"
#include "zarn_ui/events.hpp"

namespace maps {

enum class DialogKind : std::uint8_t { Attribution = 0, Licenses = 1, Closed = 2 };

// The attribution or licences dialog, open, its "Close" button and dismiss action raising `flag`.
ModalDialog attribution_dialog(bool licences, std::shared_ptr<bool> flag);

class Dialog {
 public:
  Dialog();

  DialogKind kind() const { return kind_; }
  bool is_open() const { return kind_ != DialogKind::Closed; }
  const ModalDialog& modal() const { return dialog_; }
  ModalDialog& modal() { return dialog_; }
  // The rectangle that takes all input while a dialog is shown.
  std::optional<zarn_ui::Rect> modal_rect() const;

  // A fresh dialog with a fresh close flag replaces whatever was shown.
  void open_attribution_dialog(bool licences);
  // An event while the dialog is shown; true when the dialog used it.
  bool modal_dialog_event(const zarn_ui::widget::Event& event, double scale);
  // A front end's activation of a button of the dialog's accessibility node ("modal.primary" or
  // "modal.secondary"): runs it as a press would, closing the dialog when it asks to be. False
  // when no dialog is shown or it has no such button.
  bool activate_button(std::string_view id);
  // True once after the dialog asked to be closed.
  bool take_dialog_close_request();
  // The dialog goes away: not open, kind closed, the flag lowered.
  void close();

 private:
  std::shared_ptr<bool> close_flag_;
  ModalDialog dialog_;
  DialogKind kind_ = DialogKind::Closed;
};

// The dialog's accessibility node: the whole tree while it is open.
zarn_ui::access::AccessNode modal_access_node(const Dialog& dialog);

}  // namespace maps
