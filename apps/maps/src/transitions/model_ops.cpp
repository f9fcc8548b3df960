#include "app/maps_app.hpp"

#include <utility>

namespace maps {

Place new_place(const std::string& id, const std::string& name, Category category, const std::string& address,
                LatLon pos) {
  return Place{id, name, category, address, pos, false};
}

std::optional<Place> MapsApp::find_place(const std::string& id) const {
  for (const Place& p : model.places) {
    if (p.id == id) return p;
  }
  return std::nullopt;
}

std::optional<Place> MapsApp::selected_place() const {
  if (!model.selected) return std::nullopt;
  return find_place(*model.selected);
}

void MapsApp::upsert_place(const Place& place) {
  for (Place& p : model.places) {
    if (p.id == place.id) {
      p.name = place.name;
      p.address = place.address;
      p.pos = place.pos;
      p.category = place.category;
      p.saved = p.saved || place.saved;
      return;
    }
  }
  model.places.push_back(place);
}

bool MapsApp::toggle_place_saved(const std::string& id) {
  for (Place& p : model.places) {
    if (p.id == id) {
      p.saved = !p.saved;
      return p.saved;
    }
  }
  return false;
}

void MapsApp::set_status(std::string text, StatusKind kind) {
  model.status = std::move(text);
  status_kind = kind;
}

LocalDateTime MapsApp::now_local() const { return live ? local_now() : demo_clock_now(); }

}  // namespace maps
