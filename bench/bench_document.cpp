// Document costs: one commit end to end (with fsync), opening a document of 10,000 changes,
// and the bytes one commit appends to disk. Opening and loading read the state saved beside the
// changes; the baselines, in the same run, apply the changes, as a document saved with its changes
// alone (the older form) is opened.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "automerge/automerge.hpp"
#include "persist_records.hpp"
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

// The saved form of documents written before the state was kept: the changes alone.
std::vector<std::uint8_t> changes_only(std::span<const std::uint8_t> saved) {
  std::vector<std::uint8_t> out = {'Z', 'D', 'O', 'C', 1};
  auto varint = [&](std::uint64_t v) {
    for (; v >= 0x80; v >>= 7) out.push_back(static_cast<std::uint8_t>(v | 0x80));
    out.push_back(static_cast<std::uint8_t>(v));
  };
  auto changes = automerge::AutoCommit::load_changes(saved);
  if (!changes) return out;
  varint(changes->size());
  for (const auto& c : *changes) {
    varint(c.bytes.size());
    out.insert(out.end(), c.bytes.begin(), c.bytes.end());
  }
  return out;
}

// Opening a folded document of 10,000 changes (the common start). Goal: under 50 ms.
void open_10k(benchmark::State& state, bool with_state) {
  auto dir = document_of(10000, true);
  if (!with_state) {
    namespace d = zarn_ui::persist::detail;
    const auto path = dir / "document.snapshot";
    std::vector<std::uint8_t> file(std::filesystem::file_size(path));
    {
      std::FILE* f = std::fopen(path.c_str(), "rb");
      if (!f || std::fread(file.data(), 1, file.size(), f) != file.size()) state.SkipWithError("no snapshot");
      if (f) std::fclose(f);
    }
    auto recs = d::parse_records(file, d::kHeaderSize);
    if (recs.payloads.size() != 1) {
      state.SkipWithError("no snapshot record");
      return;
    }
    auto older = d::file_header(d::FileKind::Snapshot, d::Generation{});
    d::append_record(older, changes_only(recs.payloads[0]));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(older.data(), 1, older.size(), f) != older.size()) state.SkipWithError("cannot write");
    if (f) std::fclose(f);
  }
  state.counters["snapshot_bytes"] = static_cast<double>(std::filesystem::file_size(dir / "document.snapshot"));
  for (auto _ : state) {
    auto p = zarn_ui::persist::open_in(dir);
    benchmark::DoNotOptimize(p.doc().length(ROOT));
  }
  std::filesystem::remove_all(dir);
}
void BM_Open10kChanges(benchmark::State& state) { open_10k(state, true); }
void BM_Open10kChanges_Replayed(benchmark::State& state) { open_10k(state, false); }
BENCHMARK(BM_Open10kChanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open10kChanges_Replayed)->Unit(benchmark::kMillisecond);

// Loading the saved bytes alone, without the files.
void load_10k(benchmark::State& state, bool with_state) {
  automerge::AutoCommit doc;
  for (int i = 0; i < 10000; ++i) {
    edit(doc, i);
    doc.commit();
  }
  auto bytes = doc.save();
  if (!with_state) bytes = changes_only(bytes);
  state.counters["saved_bytes"] = static_cast<double>(bytes.size());
  for (auto _ : state) {
    auto loaded = automerge::AutoCommit::load(bytes);
    benchmark::DoNotOptimize(loaded.is_ok());
  }
}
void BM_Load10kChanges(benchmark::State& state) { load_10k(state, true); }
void BM_Load10kChanges_Replayed(benchmark::State& state) { load_10k(state, false); }
BENCHMARK(BM_Load10kChanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load10kChanges_Replayed)->Unit(benchmark::kMillisecond);

}  // namespace
