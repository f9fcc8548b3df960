#include "action_surface/ui_actions.hpp"

#include <algorithm>
#include <string>

#include "model/json_reader.hpp"
#include "model/place_ops.hpp"
#include "transitions/locating.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"
#include "transitions/selection.hpp"
#include "transitions/traffic.hpp"
#include "zarn_actions/action_contract.hpp"

namespace maps {

using zarn_ui::ui_action::ActionOutcome;
using zarn_ui::ui_action::BeginOutcome;

namespace {

constexpr std::string_view kLocate = "maps.locate";
constexpr std::string_view kBusy = "A location request is already in progress";
constexpr std::string_view kOffline = "The location service is unavailable in this session";

// The argument as one JSON string, or the parser's message.
base::Result<std::string> string_argument(std::string_view argument) {
  json::Reader reader(argument);
  std::string out;
  if (reader.peek() == '"') {
    reader.parse_string(&out);
  } else {
    reader.invalid_type("a string");
  }
  if (!reader.failed()) reader.finish();
  if (reader.failed()) return base::err(reader.error());
  return out;
}

bool has_poi(const Backend& backend, const std::string& id) {
  const std::vector<Poi>& pois = backend.view_pois.pois;
  return std::any_of(pois.begin(), pois.end(), [&](const Poi& p) { return p.id == id; });
}

bool is_interface_action(std::string_view id) {
  return id == "maps.search" || id == "maps.toggle-traffic" || id == "maps.open-place" || id == "maps.directions" ||
         id == "maps.open-poi" || id == "maps.directions-poi";
}

ActionOutcome run_interface_action(Session& session, zarn_ui::state::State& state, std::string_view id,
                                   std::string_view argument) {
  if (id == "maps.toggle-traffic") {
    set_traffic_enabled(session, !session.backend.traffic.enabled);
    return ActionOutcome::performed();
  }
  base::Result<std::string> text = string_argument(argument);
  if (!text) return ActionOutcome::failed(text.error());
  std::string value = std::move(text).value();
  if (id == "maps.search") {
    session.model.query = std::move(value);
    // Recorded through the document like a typed search, so the next document change keeps it.
    submit_search(session, &state);
    return ActionOutcome::performed();
  }
  if (id == "maps.open-place" || id == "maps.directions") {
    if (!find_place(session.model, value)) return ActionOutcome::failed("Map place is no longer available");
    const bool planned = select_place(session, value);
    if (id == "maps.directions" && !planned) open_directions(session);
    return ActionOutcome::performed();
  }
  // "maps.open-poi" and "maps.directions-poi".
  if (!has_poi(session.backend, value)) {
    return ActionOutcome::failed("Map point of interest is no longer in this viewport");
  }
  select_poi(session, value);
  if (id == "maps.directions-poi") directions_to_poi(session, state);
  return ActionOutcome::performed();
}

}  // namespace

ActionOutcome perform_ui_action(Session& session, zarn_ui::state::State& state, zarn_actions::resource::ActionKind kind,
                                std::string_view id, std::string_view argument) {
  using kinds = zarn_actions::resource::ActionKind;
  if (kind == kinds::Command) return ActionOutcome::not_handled();
  if (kind == kinds::Device) {
    if (id != kLocate) return ActionOutcome::not_handled();
    if (session.backend.location.receiver) return ActionOutcome::failed(std::string(kBusy));
    start_locating(session);
    return ActionOutcome::performed();
  }
  if (!is_interface_action(id)) return ActionOutcome::not_handled();
  return run_interface_action(session, state, id, argument);
}

BeginOutcome begin_ui_action(ActionSurface& surface, Session& session, zarn_ui::state::State& state,
                             const zarn_ui::ui_action::RequestId& request, zarn_actions::resource::ActionKind kind,
                             std::string_view id, std::string_view argument) {
  if (kind == zarn_actions::resource::ActionKind::Device && id == kLocate) {
    if (!session.backend.live) return BeginOutcome::refused(std::string(kOffline));
    if (surface.locate_pending() || session.backend.location.receiver) {
      return BeginOutcome::refused(std::string(kBusy));
    }
    surface.await_locate(request);
    start_locating(session);
    return BeginOutcome::started();
  }
  ActionOutcome outcome = perform_ui_action(session, state, kind, id, argument);
  switch (outcome.kind) {
    case ActionOutcome::Kind::Performed: return BeginOutcome::completed({});
    case ActionOutcome::Kind::Failed: return BeginOutcome::refused(std::move(outcome.error));
    case ActionOutcome::Kind::NotHandled: break;
  }
  return BeginOutcome::not_handled();
}

}  // namespace maps
