#include "backend/status_line.hpp"

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

void StatusLine::set(MapModel& model, std::string text, StatusKind what) {
  model.status = std::move(text);
  kind = what;
  service.reset();
  expires.reset();
  fresh = !model.status.empty();
}

void StatusLine::report_failure(MapModel& model, std::string_view prefix, Service failed, const base::Error& error,
                                base::MonoTime now) {
  services_logger()->warn("{} failed: {}", service_name(failed), error.message);
  set(model, fmt::format("{}{}", prefix, failure_text(failed, error)), StatusKind::Failure);
  service = failed;
  expires = now + kFailureStatusLife;
}

}  // namespace maps
