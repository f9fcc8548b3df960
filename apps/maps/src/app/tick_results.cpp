// The tick's first step: the answers of the request threads.

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include <fmt/format.h>

#include "app/tick_steps.hpp"
#include "format/labels.hpp"
#include "transitions/commit.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"
#include "transitions/view.hpp"

namespace maps::tick_steps {
namespace {

void on_place_search(MapsApp& app, zarn_ui::state::State& state, worker::PlaceSearch r) {
  app.backend.place_searches.answered(r.query, r.result);
  if (r.result.is_err()) {
    app.report_failure("Search failed: ", Service::Geocoder, r.result.failure());
    return;
  }
  std::vector<Place> places = std::move(r.result).value();
  if (places.empty()) {
    app.set_status(fmt::format("No results for \u201c{}\u201d", r.query), StatusKind::Notice);
    return;
  }
  // Every place a search returns is kept in the document.
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::UpsertPlaces{places}});
  rank_search_results(places, r.query, app.model);
  const std::size_t count = places.size();
  if (app.search_box.is_open()) {
    app.search_box.set_search_suggestions(std::move(places));
  } else if (!places.empty()) {
    centre_view_on(app.session(), places.front().pos);
    app.model.selected = places.front().id;
    app.model.results = std::move(places);
  }
  app.set_status(fmt::format("{} for \u201c{}\u201d", counted(count, "result", "results"), r.query));
}

void on_endpoint_search(MapsApp& app, zarn_ui::state::State& state, worker::EndpointSearch r) {
  app.backend.endpoint_searches.answered(endpoint_search_key(r.query, r.field), r.result);
  if (r.result.is_err()) {
    app.endpoint_editor.set_endpoint_search_unanswered(r.field, r.query, true);
    app.report_failure("Search failed: ", Service::Geocoder, r.result.failure());
    return;
  }
  std::vector<Place> places = std::move(r.result).value();
  if (places.empty()) {
    app.endpoint_editor.set_endpoint_search_unanswered(r.field, r.query, false);
    app.set_status("No matching places");
    return;
  }
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::UpsertPlaces{places}});
  rank_search_results(places, r.query, app.model);
  app.endpoint_editor.set_endpoint_suggestions(r.field, std::move(places));
  app.clear_status();
}

void on_reverse_geocode(MapsApp& app, worker::ReverseGeocode r) {
  // A failed lookup is silent; an empty address names nothing.
  if (r.result.is_err() || r.result.value().empty()) return;
  // The address belongs to the fix; an origin chosen since keeps its own name.
  if (!app.backend.location.located_fix || app.model.origin != app.backend.location.located_fix) return;
  app.transient.set_origin_name(app.model, std::move(r.result).value());
}

void on_route(MapsApp& app, zarn_ui::state::State& state, worker::Route r) {
  // A newer route or journey request has replaced this one; its answer will follow.
  if (!answers_latest_plan_request(app.session(), r.request)) return;
  if (r.result.is_err()) {
    if (r.result.error_kind() == base::ErrorKind::NoResult) {
      // The router found no route: nothing to draw, and no estimate pretends there is one.
      app.transient.set_route(app.model, std::nullopt);
      app.backend.plans.latest.outcome = PlanOutcome::NoPlan;
      app.set_status("No route found", StatusKind::Notice);
      return;
    }
    // The estimate stays shown; the transient values keep it over the document's plan.
    app.backend.plans.latest.outcome = PlanOutcome::Unavailable;
    app.report_failure("Routing failed (offline estimate shown): ", Service::Router, r.result.failure());
    app.backend.plans.latest.failure = app.model.status;
    return;
  }
  app.backend.plans.latest.outcome = PlanOutcome::Answered;
  PlanEndpoints ends = plan_answer_endpoints(app.session());
  commit_action(app.model, app.transient, app.commits, state,
                MapsAction{MapsAction::SetRoute{std::move(r.result).value(), ends.origin, std::move(ends.origin_name),
                                                ends.dest, std::move(ends.dest_name), app.model.mode}});
  fit_view_to_route(app.session());
  app.set_status("Route updated");
}

void on_transit(MapsApp& app, zarn_ui::state::State& state, worker::Transit r) {
  if (!answers_latest_plan_request(app.session(), r.request)) return;
  if (r.result.is_err()) {
    // The journey list tells of the failure too, instead of reading as an empty answer.
    app.backend.plans.latest.outcome = PlanOutcome::Unavailable;
    app.report_failure("Transit lookup failed: ", Service::Planner, r.result.failure());
    app.backend.plans.latest.failure = app.model.status;
    return;
  }
  std::vector<TransitJourney> journeys = std::move(r.result).value();
  if (journeys.empty()) {
    app.backend.plans.latest.outcome = PlanOutcome::NoPlan;
    app.set_status("No transit options found");
    return;
  }
  app.backend.plans.latest.outcome = PlanOutcome::Answered;
  PlanEndpoints ends = plan_answer_endpoints(app.session());
  commit_action(app.model, app.transient, app.commits, state,
                MapsAction{MapsAction::SetTransit{std::move(journeys), ends.origin, std::move(ends.origin_name),
                                                  ends.dest, std::move(ends.dest_name)}});
  fit_view_to_plan(app.session());
  app.set_status("Departures updated");
}

void on_pois(MapsApp& app, worker::Pois r) {
  // An answer for an earlier view.
  if (r.generation != app.backend.view_pois.generation) return;
  if (r.result.is_err()) {
    app.report_failure("Places unavailable: ", Service::Places, r.result.failure());
    return;
  }
  std::vector<Poi> pois = std::move(r.result).value();
  if (pois.size() > kMaxPoisPerAnswer) pois.resize(kMaxPoisPerAnswer);
  app.backend.view_pois.pois = std::move(pois);
  if (app.selected_poi) {
    const bool kept = std::any_of(app.backend.view_pois.pois.begin(), app.backend.view_pois.pois.end(),
                                  [&](const Poi& p) { return p.id == *app.selected_poi; });
    if (!kept) app.selected_poi.reset();
  }
  if (app.backend.status.kind == StatusKind::LoadingPlaces)
    app.set_status(counted(app.backend.view_pois.pois.size(), "place", "places") + " nearby");
}

}  // namespace

std::optional<Service> answering_service(const WorkerResult& result) {
  return std::visit(
      [](const auto& r) -> std::optional<Service> {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, worker::Superseded>) {
          return std::nullopt;
        } else {
          if (r.result.is_err() && r.result.error_kind() != base::ErrorKind::NoResult) return std::nullopt;
          if constexpr (std::is_same_v<R, worker::Route>) return Service::Router;
          if constexpr (std::is_same_v<R, worker::Transit>) return Service::Planner;
          if constexpr (std::is_same_v<R, worker::Pois>) return Service::Places;
          return Service::Geocoder;
        }
      },
      result);
}

void apply_worker_result(MapsApp& app, zarn_ui::state::State& state, WorkerResult result) {
  if (app.backend.pending_jobs > 0) --app.backend.pending_jobs;
  // A service that answers again ends the status of its failure.
  if (const auto service = answering_service(result); service && app.backend.status.service == service)
    app.clear_status();
  std::visit(
      [&](auto&& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, worker::PlaceSearch>) {
          on_place_search(app, state, std::move(r));
        } else if constexpr (std::is_same_v<R, worker::EndpointSearch>) {
          on_endpoint_search(app, state, std::move(r));
        } else if constexpr (std::is_same_v<R, worker::ReverseGeocode>) {
          on_reverse_geocode(app, std::move(r));
        } else if constexpr (std::is_same_v<R, worker::Route>) {
          on_route(app, state, std::move(r));
        } else if constexpr (std::is_same_v<R, worker::Transit>) {
          on_transit(app, state, std::move(r));
        } else if constexpr (std::is_same_v<R, worker::Pois>) {
          on_pois(app, std::move(r));
        } else if constexpr (std::is_same_v<R, worker::AreaSearch>) {
          app.offline_panel.apply_area_search(r.query, std::move(r.result));
        } else {
          // A replaced request only comes off the count.
          static_assert(std::is_same_v<R, worker::Superseded>);
        }
      },
      std::move(result));
  if (app.backend.pending_jobs == 0 && status_ends_with_jobs(app.backend.status.kind)) app.clear_status();
}

void drain_worker_results(MapsApp& app, zarn_ui::state::State& state) {
  while (auto next = app.backend.take_result()) apply_worker_result(app, state, std::move(*next));
}

}  // namespace maps::tick_steps
