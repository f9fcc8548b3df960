// Encoding and decoding the two heaviest action payloads: a route of 2,000 points and a set of
// journeys with several legs each.
#include <benchmark/benchmark.h>

#include <string>

#include "model/json_codec.hpp"

namespace {

maps::MapsAction long_route_action() {
  maps::Route route{maps::TravelMode::Car, 18234.7, 1520.3, {}, {}, {48.1371, 11.5754}, {48.2, 11.7}};
  for (int i = 0; i < 2000; ++i) {
    route.geometry.push_back({48.1371 + i * 0.0000317, 11.5754 + i * 0.0000623});
  }
  for (int i = 0; i < 40; ++i) {
    route.steps.push_back({"Turn right onto Leopoldstraße", 120.5 + i, maps::Maneuver::Right});
  }
  return {maps::MapsAction::SetRoute{route, maps::LatLon{48.1371, 11.5754}, "Marienplatz", maps::LatLon{48.2, 11.7},
                                     "Allianz Arena", maps::TravelMode::Car}};
}

maps::MapsAction journeys_action() {
  std::vector<maps::TransitJourney> journeys;
  for (int j = 0; j < 6; ++j) {
    maps::TransitJourney journey{"09:0" + std::to_string(j), "09:4" + std::to_string(j), 40, 2, {}};
    for (int l = 0; l < 5; ++l) {
      maps::TransitLeg leg{maps::TransitMode::Subway,
                           "U3",
                           "Moosach",
                           "Odeonsplatz",
                           "Münchner Freiheit",
                           "09:05",
                           "09:12",
                           7,
                           4,
                           {},
                           "ec6726",
                           "ffffff",
                           "MVG",
                           l % 2 == 0};
      for (int p = 0; p < 60; ++p) leg.geometry.push_back({48.14 + p * 0.0003, 11.57 + p * 0.0002});
      journey.legs.push_back(leg);
    }
    journeys.push_back(journey);
  }
  return {maps::MapsAction::SetTransit{journeys, std::nullopt, "Map centre", maps::LatLon{48.2, 11.6}, "Zoo"}};
}

void encode(benchmark::State& state, const maps::MapsAction& action) {
  std::string out;
  for (auto _ : state) {
    out.clear();
    maps::serialize_maps_action_json(action, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * out.size()));
}

void decode(benchmark::State& state, const maps::MapsAction& action) {
  std::string text;
  maps::serialize_maps_action_json(action, text);
  for (auto _ : state) {
    auto back = maps::deserialize_maps_action_slice(std::string_view(text));
    if (back.is_err()) state.SkipWithError(back.error().c_str());
    benchmark::DoNotOptimize(back);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_EncodeSetRoute2000(benchmark::State& s) { encode(s, long_route_action()); }
void BM_DecodeSetRoute2000(benchmark::State& s) { decode(s, long_route_action()); }
void BM_EncodeSetTransit(benchmark::State& s) { encode(s, journeys_action()); }
void BM_DecodeSetTransit(benchmark::State& s) { decode(s, journeys_action()); }

BENCHMARK(BM_EncodeSetRoute2000);
BENCHMARK(BM_DecodeSetRoute2000);
BENCHMARK(BM_EncodeSetTransit);
BENCHMARK(BM_DecodeSetTransit);

}  // namespace
