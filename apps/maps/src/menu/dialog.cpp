#include "menu/dialog.hpp"

#include <functional>
#include <utility>
#include <vector>

#include "zarn_ui/i18n.hpp"

namespace maps {
namespace {

constexpr float kBodySize = 13.0f;

}  // namespace

ModalDialog attribution_dialog(bool licences, std::shared_ptr<bool> flag) {
  auto body = zarn_ui::widgets::Text::create(
      licences ? "OpenStreetMap data — Open Database License (ODbL)\nCARTO basemaps — under CARTO's basemap terms\n"
                 "© OpenStreetMap contributors · © CARTO"
               : "Map data © OpenStreetMap contributors\nBasemap tiles © CARTO");
  body.text_size = kBodySize;
  ModalDialog dialog = ModalDialog::create(licences ? "Licenses" : "Attribution", std::move(body))
                           .with_primary("Close", flag)
                           .with_dismiss(flag);
  dialog.set_size({440.0, 220.0});
  dialog.set_open(true);
  return dialog;
}

Dialog::Dialog() : close_flag_(std::make_shared<bool>(false)), dialog_(attribution_dialog(false, close_flag_)) {
  dialog_.set_open(false);
}

std::optional<zarn_ui::Rect> Dialog::modal_rect() const {
  if (!dialog_.is_open()) return std::nullopt;
  return dialog_.bounds();
}

void Dialog::open_attribution_dialog(bool licences) {
  close_flag_ = std::make_shared<bool>(false);
  dialog_ = attribution_dialog(licences, close_flag_);
  kind_ = licences ? DialogKind::Licenses : DialogKind::Attribution;
}

bool Dialog::modal_dialog_event(const zarn_ui::widget::Event& event, double scale) {
  if (!dialog_.is_open()) return false;
  return dialog_.route_modal_event(event, scale);
}

bool Dialog::activate_button(std::string_view id) {
  if (!is_open() || !dialog_.is_open()) return false;
  const std::optional<DialogButton>* button = id == "modal.primary"     ? &dialog_.primary()
                                              : id == "modal.secondary" ? &dialog_.secondary()
                                                                        : nullptr;
  if (!button || !*button || (*button)->label.empty()) return false;
  // A copy: the callback may replace the dialog that holds it.
  const std::function<void()> callback = (*button)->callback;
  if (callback) callback();
  if (take_dialog_close_request()) close();
  return true;
}

bool Dialog::take_dialog_close_request() {
  if (!*close_flag_) return false;
  *close_flag_ = false;
  return true;
}

void Dialog::close() {
  dialog_.set_open(false);
  kind_ = DialogKind::Closed;
  *close_flag_ = false;
}

// Named by its title; while shown, its buttons are its children, each activated as the
// dialog's primary or secondary action. Hidden while no dialog is shown.
zarn_ui::access::AccessNode modal_access_node(const Dialog& dialog) {
  namespace access = zarn_ui::access;
  const ModalDialog& d = dialog.modal();
  const zarn_ui::i18n::I18nManager i18n;
  std::vector<access::AccessNode> buttons;
  const bool shown = dialog.is_open() && d.is_open();
  if (shown) {
    const auto add = [&](const std::optional<DialogButton>& b, const char* id, const zarn_ui::Rect& r,
                         access::SemanticAction action) {
      if (!b || b->label.empty()) return;
      buttons.push_back(access::AccessNode::with_role(access::Role::Button)
                            .with_id(id)
                            .with_name(i18n.lookup(b->label))
                            .with_bounds(r)
                            .with_action(action));
    };
    add(d.primary(), "modal.primary", d.primary_rect(), access::SemanticAction::Activate);
    add(d.secondary(), "modal.secondary", d.secondary_rect(), access::SemanticAction::ActivateSecondary);
  }
  return access::AccessNode::with_role(access::Role::Window)
      .with_optional_name(i18n.lookup(d.title()))
      .with_flags(shown ? 0u : access::flags::kHidden)
      .with_children(std::move(buttons));
}

}  // namespace maps
