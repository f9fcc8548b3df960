// The live app in a window (SDL's dummy driver) against fake web services on 127.0.0.1: typing in
// the search box shows local matches at once and the geocoder's answers after the pause; a
// suggestion chosen with the keyboard and one chosen with the mouse select the place, store it and
// record the search; the side panel lists what it holds and scrolls; the directions panel edits
// an endpoint with its suggestions, swaps the endpoints, changes the mode and lists the steps,
// then the journeys.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../net/fake_service.hpp"
#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "net/job_spawner.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using testing::FakeService;

constexpr const char* kViktReply = R"json([{"lat":"48.1349","lon":"11.5765","name":"Viktualienmarkt Süd",
  "display_name":"Viktualienmarkt Süd, München","osm_type":"node","osm_id":77}])json";
constexpr const char* kHauptReply = R"json([{"lat":"48.1405","lon":"11.5598","name":"Hauptbahnhof Nord",
  "display_name":"Hauptbahnhof Nord, München","osm_type":"node","osm_id":88}])json";
constexpr const char* kRouteReply = R"({"code":"Ok","routes":[{"distance":1800,"duration":1300,
  "geometry":{"coordinates":[[11.56,48.14],[11.5765,48.1349]]},
  "legs":[{"steps":[{"maneuver":{"type":"depart"},"name":"Bayerstraße","distance":900},
                    {"maneuver":{"type":"turn","modifier":"left"},"name":"Sonnenstraße","distance":900},
                    {"maneuver":{"type":"arrive"},"name":"","distance":0}]}]}]})";
constexpr const char* kPlanReply = R"({"itineraries":[
  {"startTime":"2026-12-08T08:05:00Z","endTime":"2026-12-08T08:20:00Z","duration":900,"transfers":0,
   "legs":[{"mode":"SUBWAY","routeShortName":"U3","headsign":"Moosach","from":{"name":"Sendlinger Tor"},
            "to":{"name":"Marienplatz"},"startTime":"2026-12-08T08:05:00Z","endTime":"2026-12-08T08:20:00Z",
            "duration":900}]}]})";

void push(SDL_Event e) { SDL_PushEvent(&e); }
// A key pressed and let go, as a keyboard sends it.
void key(SDL_Keycode k, std::uint16_t mod = 0) {
  for (auto type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = k;
    e.key.keysym.mod = mod;
    push(e);
  }
}
void type(const char* text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, text, sizeof(e.text.text));
  push(e);
}
void click(Point p) {
  SDL_Event m{};
  m.type = SDL_MOUSEMOTION;
  m.motion.x = static_cast<int>(p.x);
  m.motion.y = static_cast<int>(p.y);
  push(m);
  for (bool down : {true, false}) {
    SDL_Event b{};
    b.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    b.button.button = SDL_BUTTON_LEFT;
    b.button.x = static_cast<int>(p.x);
    b.button.y = static_cast<int>(p.y);
    push(b);
  }
}
void wheel_at(Point p, float dy) {
  SDL_Event m{};
  m.type = SDL_MOUSEMOTION;
  m.motion.x = static_cast<int>(p.x);
  m.motion.y = static_cast<int>(p.y);
  push(m);
  SDL_Event w{};
  w.type = SDL_MOUSEWHEEL;
  w.wheel.y = static_cast<int>(dy);
  w.wheel.preciseY = dy;
  push(w);
}

Point centre(const Rect& r) { return {(r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2}; }

std::optional<Rect> target_of(const MapsApp& app, const std::function<bool(const UiMessage&)>& is) {
  for (const auto& t : app.hit_targets) {
    if (is(t.message)) return t.rect;
  }
  return std::nullopt;
}
template <typename M>
std::optional<Rect> target(const MapsApp& app) {
  return target_of(app, [](const UiMessage& m) { return std::holds_alternative<M>(m.value); });
}

bool has_place(const std::vector<Place>& places, const std::string& id) {
  return std::any_of(places.begin(), places.end(), [&](const Place& p) { return p.id == id; });
}

std::size_t requests_to(const FakeService& svc, const std::string& path) {
  std::size_t n = 0;
  for (const auto& r : svc.requests()) n += r.path == path;
  return n;
}

// One step of the run: `ready` is tested once per frame; when it holds, `act` pushes the next
// events and the run moves on. A step that never gets ready fails the test by its name.
struct Step {
  const char* name;
  std::function<bool()> ready;
  std::function<void()> act;
};

TEST(PanelsWindow, SearchChooseListScrollAndDirections) {
  FakeService svc;
  svc.on("/search", [](const httplib::Request& req, httplib::Response& res) {
    const std::string q = req.get_param_value("q");
    res.set_content(q.rfind("Vikt", 0) == 0    ? kViktReply
                    : q.rfind("Haupt", 0) == 0 ? kHauptReply
                                               : "[]",
                    "application/json");
  });
  svc.on(R"(/route/v1/\w+/.*)",
         [](const httplib::Request&, httplib::Response& res) { res.set_content(kRouteReply, "application/json"); });
  svc.reply("/api/v1/plan", kPlanReply);

  MapModel model = sample_map_model();
  model.panel = Panel::Explore;
  model.selected.reset();
  model.route.reset();
  model.transit.clear();
  model.dest.reset();
  model.dest_name.clear();
  model.query.clear();
  auto app = build_maps_app(std::move(model), VectorMap{},
                            new_offline_tile_store(std::filesystem::temp_directory_path() / "maps-panels-e2e-none"),
                            true, true);
  ServiceHosts hosts;
  hosts.nominatim = hosts.overpass = hosts.osrm = hosts.motis = svc.host();
  hosts.timeout = 3s;
  app->backend.job_spawner = std::make_unique<ThreadJobSpawner>(hosts, app->backend.result_sender);
  zarn_ui::state::State state;
  MapsApp& a = *app;
  const auto box = [&] { return search_box_rect(a.bounds_rect); };
  const auto suggestion_row = [&](std::size_t i) {
    const double y = box().y1 + 12 + 46.0 * static_cast<double>(i);
    return Rect{box().x0 + 6, y, box().x1 - 6, y + 44};
  };
  const auto suggestion_index = [&](const std::string& id) -> std::optional<std::size_t> {
    const auto& s = a.search_box.suggestions();
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i].id == id) return i;
    }
    return std::nullopt;
  };
  std::string failure;
  const auto expect = [&](bool ok, const std::string& what) {
    if (!ok && failure.empty()) failure = what;
  };
  std::optional<Place> origin_choice;
  std::string origin_before, dest_before;

  std::vector<Step> steps = {
      {"the window is laid out", [&] { return a.drawn_bounds.width() > 0; }, [&] { click(centre(box())); }},
      {"the box opens", [&] { return a.search_box.is_open(); },
       [&] {
         for (const char* c : {"V", "i", "k", "t"}) type(c);
       }},
      {"local matches at once", [&] { return a.model.query == "Vikt"; },
       [&] {
         expect(has_place(a.search_box.suggestions(), "viktualienmarkt"), "no local match for \"Vikt\"");
         expect(requests_to(svc, "/search") == 0, "the geocoder was asked before the pause");
       }},
      {"the geocoder's answer after the pause", [&] { return suggestion_index("osm-node-77").has_value(); },
       [&] {
         expect(requests_to(svc, "/search") == 1, "one geocoder request for the typed text");
         for (std::size_t i = 0; i <= *suggestion_index("osm-node-77"); ++i) key(SDLK_DOWN);
         key(SDLK_RETURN);
       }},
      {"a suggestion chosen with the keyboard", [&] { return a.model.selected == std::string("osm-node-77"); },
       [&] {
         expect(!a.search_box.is_open(), "choosing closed no list");
         expect(has_place(a.model.places, "osm-node-77"), "the chosen place was not stored");
         expect(!a.model.recents.empty() && a.model.recents.front() == "Viktualienmarkt Süd",
                "the keyboard choice was not recorded as a search");
         click(centre(box()));
       }},
      {"the box opens again", [&] { return a.search_box.is_open(); },
       [&] {
         key(SDLK_a, KMOD_CTRL);
         type("Haupt");
       }},
      {"the geocoder answers the new text", [&] { return suggestion_index("osm-node-88").has_value(); },
       [&] { click(centre(suggestion_row(*suggestion_index("osm-node-88")))); }},
      {"a suggestion chosen with the mouse", [&] { return a.model.selected == std::string("osm-node-88"); },
       [&] {
         expect(has_place(a.model.places, "osm-node-88"), "the clicked place was not stored");
         expect(a.model.recents.front() == "Hauptbahnhof Nord", "the mouse choice was not recorded as a search");
       }},
      {"the panel lists results, saved places and recent searches",
       [&] {
         return target_of(a, [](const UiMessage& m) { return m == UiMessage{msg::OpenPlace{"hofgarten"}}; }) &&
                target_of(a,
                          [](const UiMessage& m) { return m == UiMessage{msg::SearchAgain{"Hauptbahnhof Nord"}}; }) &&
                target_of(a, [](const UiMessage& m) { return m == UiMessage{msg::OpenPlace{"cafe-glueck"}}; });
       },
       [&] {
         expect(a.side_panel.content_height() > a.side_panel.view_height(), "the list is too short to scroll");
         wheel_at({200, 500}, -3);
       }},
      {"the list scrolls", [&] { return a.side_panel.scroll() > 0; },
       [&] {
         const double end = a.side_panel.content_height() - a.side_panel.view_height();
         expect(a.side_panel.scroll() == std::min(3 * 36.0, end), "three lines scroll 108 px, or to the end");
         a.side_panel.reset_scroll();
       }},
      {"the card's Directions button", [&] { return target<msg::Directions>(a).has_value(); },
       [&] { click(centre(*target<msg::Directions>(a))); }},
      {"the route comes",
       [&] { return a.model.panel == Panel::Directions && a.model.route && a.backend.pending_jobs == 0; },
       [&] {
         expect(a.model.route->steps.size() == 3, "the route's steps");
         expect(target<msg::ClearRoute>(a).has_value(), "the route shows no Clear");
         click(centre(*a.endpoint_editor.box(EndpointField::Origin)));
       }},
      {"the origin field edits", [&] { return a.endpoint_editor.active() == EndpointField::Origin; },
       [&] { type("Vikt"); }},
      {"the origin's local matches at once",
       [&] { return has_place(a.endpoint_editor.suggestions(EndpointField::Origin), "viktualienmarkt"); },
       [&] { expect(requests_to(svc, "/search") == 2, "the origin's text was searched before the pause"); }},
      {"the geocoder's suggestions for the origin after the pause",
       [&] {
         return requests_to(svc, "/search") == 3 && a.backend.pending_jobs == 0 &&
                has_place(a.endpoint_editor.suggestions(EndpointField::Origin), "osm-node-77");
       },
       [&] {
         for (const auto& h : a.endpoint_editor.hits()) {
           if (h.kind != EndpointHitKind::SuggestionRow) continue;
           if (a.endpoint_editor.suggestions(EndpointField::Origin).at(h.index).id != "osm-node-77") continue;
           origin_choice = a.endpoint_editor.suggestions(EndpointField::Origin)[h.index];
           click(centre(h.rect));
         }
         expect(origin_choice.has_value(), "no row for the origin suggestion");
       }},
      {"the origin is chosen",
       [&] { return !a.endpoint_editor.editing() && a.model.origin_name == "Viktualienmarkt Süd"; },
       [&] {
         origin_before = a.model.origin_name;
         dest_before = a.model.dest_name;
         for (const auto& h : a.endpoint_editor.hits()) {
           if (h.kind == EndpointHitKind::SwapButton) click(centre(h.rect));
         }
       }},
      {"the endpoints swap", [&] { return a.model.origin_name == dest_before && a.model.dest_name == origin_before; },
       [&] {
         const auto walk =
             target_of(a, [](const UiMessage& m) { return m == UiMessage{msg::ChooseTravelMode{TravelMode::Foot}}; });
         click(centre(*walk));
       }},
      {"walking", [&] { return a.model.mode == TravelMode::Foot && a.backend.pending_jobs == 0 && a.model.route; },
       [&] {
         expect(a.model.route->steps.size() == 3, "the walking route's steps");
         const auto transit = target_of(
             a, [](const UiMessage& m) { return m == UiMessage{msg::ChooseTravelMode{TravelMode::Transit}}; });
         click(centre(*transit));
       }},
      {"the journeys are listed",
       [&] { return a.model.mode == TravelMode::Transit && !a.model.transit.empty() && target<msg::ChooseJourney>(a); },
       [&] {}},
  };

  std::size_t at = 0;
  std::uint64_t step_frame = 0;
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "dummy";
  opts.max_frames = 6000;  // a bound: about a minute and a half at 60 frames a second
  opts.before_frame = [&](std::uint64_t frame) {
    if (at >= steps.size() || !failure.empty()) {
      SDL_Event q{};
      q.type = SDL_QUIT;
      SDL_PushEvent(&q);
      return;
    }
    if (frame - step_frame > 900) {  // about 15 s
      failure = std::string("timed out waiting for: ") + steps[at].name;
      return;
    }
    if (steps[at].ready()) {
      steps[at].act();
      ++at;
      step_frame = frame;
    }
  };

  // The loop sleeps while nothing is pending; a steady wake-up lets every step be tested in time.
  // It starts with the first frame: before, SDL's event queue does not exist yet.
  std::atomic<bool> running{true};
  std::atomic<bool> looping{false};
  const auto script = opts.before_frame;
  opts.before_frame = [&, script](std::uint64_t frame) {
    looping = true;
    script(frame);
  };
  std::thread waker([&] {
    while (running) {
      if (looping) {
        SDL_Event e{};
        e.type = SDL_USEREVENT;
        SDL_PushEvent(&e);
      }
      std::this_thread::sleep_for(15ms);
    }
  });
  EXPECT_EQ(zarn_ui::launch::run_window(a, state, "maps", {1280, 800}, opts), 0);
  running = false;
  waker.join();
  if (at < steps.size()) {
    // What the last frame offered to presses, to tell why a step never got ready.
    std::string kinds;
    for (const auto& t : a.hit_targets) kinds += " " + std::to_string(t.message.kind());
    ADD_FAILURE() << "hit target kinds of the last frame:" << kinds << "; query \"" << a.model.query << "\", box "
                  << (a.search_box.is_open() ? "open" : "closed") << ", status \"" << a.model.status << "\"";
  }
  EXPECT_EQ(failure, "");
  EXPECT_EQ(at, steps.size()) << "stopped before: " << (at < steps.size() ? steps[at].name : "");
  app.reset();
}

}  // namespace
}  // namespace maps
