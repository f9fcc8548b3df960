// Reading the document into the state (the tick does it when the document moved): load_map_model
// plus the copy. Goals: under 0.2 ms for the sample model, under 2 ms for 1,000 places, 100 regions
// and a 2,000-point route. Then the recent searches: reading and opening a document after 10,000
// searches beside one after 8, and beside an older document whose fallen-off searches were only
// marked deleted (their keys stayed).

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automerge/automerge.hpp"
#include "doc/primitives.hpp"
#include "doc/readers.hpp"
#include "doc/schema_keys.hpp"
#include "doc/writers.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/persist.hpp"

namespace {

maps::MapModel large_model() {
  maps::MapModel m = maps::sample_map_model();
  m.places.clear();
  for (int i = 0; i < 1000; ++i) {
    m.places.push_back(maps::Place{"place-" + std::to_string(i),
                                   "Place " + std::to_string(i),
                                   maps::Category::Cafe,
                                   "Street " + std::to_string(i),
                                   {48.1 + i * 1e-4, 11.5 + i * 1e-4},
                                   i % 7 == 0});
  }
  m.regions.clear();
  for (int i = 0; i < 100; ++i) {
    m.regions.push_back(maps::DownloadedRegion{"region-" + std::to_string(i),
                                               "Region " + std::to_string(i),
                                               {48.0, 11.4},
                                               {48.2, 11.7},
                                               10,
                                               15,
                                               1000u + static_cast<unsigned>(i)});
  }
  maps::Route route = m.route.value_or(maps::Route{});
  route.geometry.clear();
  for (int i = 0; i < 2000; ++i) route.geometry.push_back({48.1 + i * 1e-5, 11.5 + i * 2e-5});
  m.route = route;
  return m;
}

void hydrate_loop(benchmark::State& state, const maps::MapModel& model) {
  automerge::AutoCommit doc;
  maps::doc::save_map_model(doc, model);
  doc.commit();
  maps::MapModel target = model;
  for (auto _ : state) {
    bool ok = maps::doc::hydrate_state(doc, target);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(target);
  }
  state.counters["places"] = static_cast<double>(target.places.size());
  state.counters["route_points"] = target.route ? static_cast<double>(target.route->geometry.size()) : 0.0;
}

void BM_HydrateSampleModel(benchmark::State& state) { hydrate_loop(state, maps::sample_map_model()); }
BENCHMARK(BM_HydrateSampleModel)->Unit(benchmark::kMicrosecond);

void BM_HydrateLargeModel(benchmark::State& state) { hydrate_loop(state, large_model()); }
BENCHMARK(BM_HydrateLargeModel)->Unit(benchmark::kMicrosecond);

void BM_LoadLargeModelOnly(benchmark::State& state) {
  automerge::AutoCommit doc;
  maps::doc::save_map_model(doc, large_model());
  doc.commit();
  for (auto _ : state) {
    auto model = maps::doc::load_map_model(doc);
    benchmark::DoNotOptimize(model);
  }
}
BENCHMARK(BM_LoadLargeModelOnly)->Unit(benchmark::kMicrosecond);

enum class Searches { Eight, TenThousand, TenThousandMarkedDeleted };

// A document of the sample model after its searches, one action each. The older form keeps a key
// for every search ever made, those past the newest eight marked deleted.
automerge::AutoCommit searched(Searches kind) {
  automerge::AutoCommit doc;
  maps::doc::save_map_model(doc, maps::sample_map_model());
  doc.commit();
  const int n = kind == Searches::Eight ? 8 : 10000;
  if (kind == Searches::TenThousandMarkedDeleted) {
    auto root = *maps::doc::maps_root(doc);
    auto recents = *maps::doc::ensure_map(doc, root, maps::doc::kRecents);
    for (int i = 0; i < n; ++i) {
      const std::string text = "search " + std::to_string(i);
      auto record = *maps::doc::ensure_map(doc, recents, maps::doc::recent_search_key(text));
      maps::doc::write_text(doc, record, "text", text);
      maps::doc::put_uint_if_changed(doc, record, "rank", static_cast<std::uint64_t>(n - 1 - i));
      if (i < n - 8) maps::doc::tombstone_record(doc, record);
      doc.commit();
    }
    return doc;
  }
  for (int i = 0; i < n; ++i) {
    maps::doc::maps_action_apply(maps::MapsAction{maps::MapsAction::CommitSearch{"search " + std::to_string(i)}}, doc);
    doc.commit();
  }
  return doc;
}

void read_after_searches(benchmark::State& state, Searches kind) {
  automerge::AutoCommit doc = searched(kind);
  maps::MapModel target = maps::sample_map_model();
  for (auto _ : state) {
    bool ok = maps::doc::hydrate_state(doc, target);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(target);
  }
  state.counters["recents"] = static_cast<double>(target.recents.size());
  state.counters["changes"] = static_cast<double>(doc.change_count());
}
void BM_Read_After8Searches(benchmark::State& s) { read_after_searches(s, Searches::Eight); }
void BM_Read_After10000Searches(benchmark::State& s) { read_after_searches(s, Searches::TenThousand); }
void BM_Read_After10000SearchesMarkedDeleted(benchmark::State& s) {
  read_after_searches(s, Searches::TenThousandMarkedDeleted);
}
BENCHMARK(BM_Read_After8Searches)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_After10000Searches)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_After10000SearchesMarkedDeleted)->Unit(benchmark::kMicrosecond);

// Opening the folded document from its folder (snapshot with the state) and reading it.
void open_after_searches(benchmark::State& state, Searches kind) {
  std::string pattern = (std::filesystem::temp_directory_path() / "bench-recents-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  const std::filesystem::path dir = ::mkdtemp(buf.data());
  {
    automerge::AutoCommit doc = searched(kind);
    auto p = zarn_ui::persist::open_in(dir);
    (void)p.doc().merge(doc);
    (void)p.flush();
  }
  (void)zarn_ui::persist::open_in(dir);  // opening folds the log into the snapshot
  maps::MapModel target = maps::sample_map_model();
  for (auto _ : state) {
    auto p = zarn_ui::persist::open_in(dir);
    benchmark::DoNotOptimize(maps::doc::hydrate_state(p.doc(), target));
  }
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(dir / "document.snapshot"));
  std::filesystem::remove_all(dir);
}
void BM_Open_After8Searches(benchmark::State& s) { open_after_searches(s, Searches::Eight); }
void BM_Open_After10000Searches(benchmark::State& s) { open_after_searches(s, Searches::TenThousand); }
void BM_Open_After10000SearchesMarkedDeleted(benchmark::State& s) {
  open_after_searches(s, Searches::TenThousandMarkedDeleted);
}
BENCHMARK(BM_Open_After8Searches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_After10000Searches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_After10000SearchesMarkedDeleted)->Unit(benchmark::kMillisecond);

}  // namespace
