#include "app/maps_app.hpp"

#include <memory>
#include <utility>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

namespace maps {

namespace {

// Service failures in full, on stderr for whoever reads the log; the window shows them short.
std::shared_ptr<spdlog::logger> services_logger() {
  if (auto existing = spdlog::get("maps::services")) return existing;
  try {
    return spdlog::stderr_color_mt("maps::services");
  } catch (const spdlog::spdlog_ex&) {
    // Registered meanwhile by another caller.
    return spdlog::get("maps::services");
  }
}

}  // namespace

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
  status_service.reset();
  status_expires.reset();
  status_fresh = !model.status.empty();
}

void MapsApp::report_failure(std::string_view prefix, Service service, const base::Error& error) {
  services_logger()->warn("{} failed: {}", service_name(service), error.message);
  set_status(fmt::format("{}{}", prefix, failure_text(service, error)));
  status_service = service;
  status_expires = mono_now() + kFailureStatusLife;
}

LocalDateTime MapsApp::now_local() const { return live ? local_now() : demo_clock_now(); }

std::optional<Place> cloned_place(const Place* place) { return place ? std::optional<Place>(*place) : std::nullopt; }
std::optional<Poi> cloned_poi(const Poi* poi) { return poi ? std::optional<Poi>(*poi) : std::nullopt; }
std::optional<DownloadedRegion> cloned_region(const DownloadedRegion* region) {
  return region ? std::optional<DownloadedRegion>(*region) : std::nullopt;
}

}  // namespace maps
