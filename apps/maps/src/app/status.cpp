#include <memory>
#include <utility>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include "app/maps_app.hpp"

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

}  // namespace maps
