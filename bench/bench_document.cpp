// Document costs: one commit end to end (with fsync), opening a document of 10,000 changes,
// and the bytes one commit appends to disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automerge/automerge.hpp"
#include "zarn_ui/doc.hpp"
#include "zarn_ui/persist.hpp"

namespace {

using automerge::ROOT;
using automerge::ScalarValue;

std::filesystem::path fresh_dir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bench-doc-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  return ::mkdtemp(buf.data());
}

// A change shaped like the app's: a record with a few scalars and a short text.
void edit(automerge::AutoCommit& doc, int i) {
  auto places = doc.get(ROOT, "places");
  automerge::ExId map = (places.is_ok() && places->has_value())
                            ? (*places)->value.obj_id()
                            : *doc.put_object(ROOT, "places", automerge::ObjType::Map);
  auto rec = doc.put_object(map, "place:" + std::to_string(i % 500), automerge::ObjType::Map);
  (void)doc.put(*rec, "saved", ScalarValue::boolean(i % 2 == 0));
  (void)doc.put(*rec, "lat", ScalarValue::f64(48.1371 + i * 1e-5));
  auto name = doc.put_object(*rec, "name", automerge::ObjType::Text);
  (void)zarn_ui::doc::splice_text_diffed(doc, *name, "Place " + std::to_string(i));
}

void BM_CommitWithFsync(benchmark::State& state) {
  auto dir = fresh_dir();
  auto p = zarn_ui::persist::open_in(dir);
  int i = 0;
  for (auto _ : state) {
    edit(p.doc(), i++);
    if (!p.flush().is_ok()) state.SkipWithError("flush failed");
  }
  state.counters["bytes_per_commit"] =
      benchmark::Counter(static_cast<double>(p.bytes_appended()) / static_cast<double>(std::max(i, 1)));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CommitWithFsync)->Unit(benchmark::kMicrosecond);

// Bytes appended for a small commit: one boolean flipped.
void BM_BytesPerSmallCommit(benchmark::State& state) {
  auto dir = fresh_dir();
  auto p = zarn_ui::persist::open_in(dir);
  bool v = false;
  std::int64_t n = 0;
  for (auto _ : state) {
    (void)p.doc().put(ROOT, "deleted", ScalarValue::boolean(v = !v));
    (void)p.flush();
    ++n;
  }
  state.counters["bytes_per_commit"] =
      benchmark::Counter(static_cast<double>(p.bytes_appended()) / static_cast<double>(std::max<std::int64_t>(n, 1)));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_BytesPerSmallCommit)->Unit(benchmark::kMicrosecond);

std::filesystem::path document_of(int changes, bool compacted) {
  auto dir = fresh_dir();
  automerge::AutoCommit doc;
  for (int i = 0; i < changes; ++i) {
    edit(doc, i);
    doc.commit();
  }
  {
    auto p = zarn_ui::persist::open_in(dir);
    (void)p.doc().merge(doc);
    (void)p.flush();  // all changes in the log
  }
  if (compacted) (void)zarn_ui::persist::open_in(dir);  // opening folds the log into the snapshot
  return dir;
}

// Opening a folded document of 10,000 changes (the common start). Goal: under 50 ms.
void BM_Open10kChanges(benchmark::State& state) {
  auto dir = document_of(10000, true);
  for (auto _ : state) {
    auto p = zarn_ui::persist::open_in(dir);
    benchmark::DoNotOptimize(p.doc().length(ROOT));
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Open10kChanges)->Unit(benchmark::kMillisecond);

// Loading the saved bytes alone, without the files.
void BM_Load10kChanges(benchmark::State& state) {
  automerge::AutoCommit doc;
  for (int i = 0; i < 10000; ++i) {
    edit(doc, i);
    doc.commit();
  }
  auto bytes = doc.save();
  state.counters["saved_bytes"] = static_cast<double>(bytes.size());
  for (auto _ : state) {
    auto loaded = automerge::AutoCommit::load(bytes);
    benchmark::DoNotOptimize(loaded.is_ok());
  }
}
BENCHMARK(BM_Load10kChanges)->Unit(benchmark::kMillisecond);

}  // namespace
