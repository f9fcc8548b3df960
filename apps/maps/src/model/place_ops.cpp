#include "model/place_ops.hpp"

namespace maps {

Place new_place(const std::string& id, const std::string& name, Category category, const std::string& address,
                LatLon pos) {
  return Place{id, name, category, address, pos, false};
}

std::optional<Place> find_place(const MapModel& model, const std::string& id) {
  for (const Place& p : model.places) {
    if (p.id == id) return p;
  }
  return std::nullopt;
}

std::optional<Place> selected_place(const MapModel& model) {
  if (!model.selected) return std::nullopt;
  return find_place(model, *model.selected);
}

void upsert_place(MapModel& model, const Place& place) {
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

bool toggle_place_saved(MapModel& model, const std::string& id) {
  for (Place& p : model.places) {
    if (p.id == id) {
      p.saved = !p.saved;
      return p.saved;
    }
  }
  return false;
}

}  // namespace maps
