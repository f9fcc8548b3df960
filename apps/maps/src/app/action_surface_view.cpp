#include "app/action_surface_view.hpp"

#include "app/maps_app.hpp"

namespace maps {

ResourceInputs resource_inputs(const MapsApp& app) {
  return {.model = app.model, .backend = app.backend, .selected_poi = app.selected_poi};
}

}  // namespace maps
