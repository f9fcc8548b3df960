// One committed action end to end: dispatch through the action host into the document, then
// the frame's flush that appends and fsyncs the change. The counter says how many bytes each
// commit adds to the log on disk.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "doc/action_path.hpp"
#include "doc/writers.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/action_host.hpp"
#include "zarn_ui/persist.hpp"

namespace {

std::filesystem::path temp_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bench-doc-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  const char* made = ::mkdtemp(buf.data());
  return made ? made : "";
}

void commit_loop(benchmark::State& state, bool flush) {
  const std::filesystem::path folder = temp_folder();
  {
    zarn_ui::persist::PersistedDoc persisted = zarn_ui::persist::open_in(folder);
    const maps::MapModel model = maps::sample_map_model();
    maps::doc::save_map_model(persisted.doc(), model);
    (void)persisted.flush();
    const std::string id = model.places.at(0).id;
    zarn_ui::action_host::ActionHost host;
    const std::uint64_t start = persisted.bytes_appended();
    bool saved = model.places.at(0).saved;
    for (auto _ : state) {
      saved = !saved;  // every commit changes one flag, so every flush has a change to write
      const maps::MapsAction action{maps::MapsAction::SetPlaceSaved{id, saved}};
      maps::doc::dispatch_with_context(
          host, persisted.doc(), maps::doc::kMapsActionType, action,
          maps::doc::action_context_for(maps::doc::kMapsAppId, maps::doc::kMapsAppName, action));
      if (flush && !persisted.flush()) state.SkipWithError("flush failed");
    }
    if (flush) {
      state.counters["bytes_per_commit"] = benchmark::Counter(static_cast<double>(persisted.bytes_appended() - start) /
                                                              static_cast<double>(state.iterations()));
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

void BM_CommitDispatchOnly(benchmark::State& state) { commit_loop(state, false); }
BENCHMARK(BM_CommitDispatchOnly)->Unit(benchmark::kMicrosecond);

void BM_CommitAndFsync(benchmark::State& state) { commit_loop(state, true); }
BENCHMARK(BM_CommitAndFsync)->Unit(benchmark::kMicrosecond);

}  // namespace
