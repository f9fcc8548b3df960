// A saved document holds its state beside its history: loading reads the state instead of
// applying every change, and the loaded copy reads, edits and merges exactly as one that applied
// the history; a state that does not fit the history beside it is passed over, and documents
// saved before the state was kept still load.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "automerge/automerge.hpp"

namespace automerge {
namespace {

void put_varint(Bytes& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(v));
}

std::uint64_t read_varint(const Bytes& b, std::size_t& pos) {
  std::uint64_t v = 0;
  for (int shift = 0;; shift += 7) {
    const std::uint8_t byte = b.at(pos++);
    v |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
    if (!(byte & 0x80)) return v;
  }
}

Bytes sha256(const Bytes& b) {
  Bytes out(32);
  unsigned int len = 0;
  EVP_Digest(b.data(), b.size(), out.data(), &len, EVP_sha256(), nullptr);
  return out;
}

// A saved document cut before its state: the changes, and the state itself.
struct Parts {
  Bytes before_state;
  Bytes state;
};

Parts split(const Bytes& saved) {
  std::size_t pos = 5;
  for (int list = 0; list < 2; ++list) {
    const std::uint64_t n = read_varint(saved, pos);
    for (std::uint64_t i = 0; i < n; ++i) pos += read_varint(saved, pos);
  }
  Parts p{Bytes(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(pos)), {}};
  const std::uint64_t len = read_varint(saved, pos);
  p.state.assign(saved.begin() + static_cast<std::ptrdiff_t>(pos),
                 saved.begin() + static_cast<std::ptrdiff_t>(pos + len));
  EXPECT_EQ(pos + len + 32, saved.size());
  return p;
}

Bytes join(const Bytes& before_state, const Bytes& state) {
  Bytes out = before_state;
  put_varint(out, state.size());
  out.insert(out.end(), state.begin(), state.end());
  const Bytes digest = sha256(state);
  out.insert(out.end(), digest.begin(), digest.end());
  return out;
}

// The form documents were saved in before: the changes alone.
Bytes saved_changes_only(AutoCommit& doc) {
  Bytes out = {'Z', 'D', 'O', 'C', 1};
  auto changes = doc.get_changes({});
  put_varint(out, changes.size());
  for (const Change& c : changes) {
    put_varint(out, c.bytes.size());
    out.insert(out.end(), c.bytes.begin(), c.bytes.end());
  }
  return out;
}

std::string scalar_text(const ScalarValue& v) {
  std::string out = std::to_string(static_cast<int>(v.kind())) + "/";
  if (const std::string* s = v.as_str()) return out + *s;
  if (auto f = v.as_f64()) return out + std::to_string(*f);
  if (auto i = v.as_int()) return out + std::to_string(*i);
  if (auto u = v.as_uint()) return out + std::to_string(*u);
  if (auto b = v.as_bool()) return out + (*b ? "true" : "false");
  return out;
}

// Everything a reader can see, every concurrent value with its id, objects followed down.
void dump_obj(const AutoCommit& doc, const ExId& obj, std::string& out) {
  auto type = doc.object_type(obj);
  ASSERT_TRUE(type.is_ok());
  auto show = [&](const std::vector<ValueEntry>& all) {
    for (const ValueEntry& e : all) {
      out += e.id.to_string() + ":";
      if (e.value.is_object()) {
        out += "{";
        dump_obj(doc, e.value.obj_id(), out);
        out += "}";
      } else {
        out += scalar_text(e.value.to_scalar());
      }
      out += ";";
    }
  };
  if (*type == ObjType::Map) {
    for (const auto& k : doc.keys(obj)) {
      out += k + "=";
      show(*doc.get_all(obj, k));
    }
    return;
  }
  if (*type == ObjType::Text) out += "\"" + *doc.text(obj) + "\"";
  for (std::size_t i = 0; i < doc.length(obj); ++i) {
    out += "[" + std::to_string(i) + "]";
    show(*doc.get_all(obj, i));
  }
}

std::string dump(const AutoCommit& doc) {
  std::string out;
  dump_obj(doc, ROOT, out);
  return out;
}

AutoCommit replayed(AutoCommit& doc) {
  AutoCommit copy;
  EXPECT_TRUE(copy.apply_changes(doc.get_changes({})).is_ok());
  return copy;
}

void random_edit(AutoCommit& doc, std::mt19937& rng) {
  const std::string keys[] = {"a", "b", "c"};
  auto list = (*doc.get(ROOT, "list"))->value.obj_id();
  auto text = (*doc.get(ROOT, "text"))->value.obj_id();
  auto nested = (*doc.get(ROOT, "nested"))->value.obj_id();
  const std::size_t len = doc.length(list);
  const std::size_t tlen = doc.length(text);
  switch (rng() % 8) {
    case 0: (void)doc.put(ROOT, keys[rng() % 3], ScalarValue::int64(static_cast<std::int64_t>(rng() % 100))); break;
    case 1: (void)doc.delete_(ROOT, keys[rng() % 3]); break;
    case 2: (void)doc.insert(list, rng() % (len + 1), ScalarValue::f64(static_cast<double>(rng() % 100) / 8)); break;
    case 3:
      if (len > 0) (void)doc.delete_(list, rng() % len);
      break;
    case 4: (void)doc.splice_text(text, rng() % (tlen + 1), rng() % 3, rng() % 2 ? "x\xc3\xa9" : "\xe2\x82\xac"); break;
    case 5: {
      // A record replaced now and then: the old object stays behind, unreachable.
      auto rec = doc.put_object(nested, keys[rng() % 3], ObjType::Map);
      if (rec) (void)doc.put(*rec, "name", ScalarValue::str("n" + std::to_string(rng() % 10)));
      break;
    }
    case 6:
      if (len > 0) (void)doc.put(list, rng() % len, ScalarValue::str("p"));
      break;
    case 7: (void)doc.insert_object(list, rng() % (len + 1), ObjType::Text); break;
  }
}

std::vector<AutoCommit> edited_forks(std::mt19937& rng) {
  AutoCommit base;
  EXPECT_TRUE(base.put_object(ROOT, "list", ObjType::List).is_ok());
  EXPECT_TRUE(base.put_object(ROOT, "text", ObjType::Text).is_ok());
  EXPECT_TRUE(base.put_object(ROOT, "nested", ObjType::Map).is_ok());
  std::vector<AutoCommit> forks = {base.fork(), base.fork(), base.fork()};
  for (int step = 0; step < 60; ++step) {
    AutoCommit& d = forks[rng() % 3];
    random_edit(d, rng);
    if (rng() % 3 == 0) d.commit();
    if (rng() % 5 == 0) {
      EXPECT_TRUE(d.merge(forks[rng() % 3]).is_ok());
    }
  }
  return forks;
}

TEST(Snapshot, ALoadedStateReadsAndMergesAsTheAppliedHistory) {
  std::mt19937 rng(1210);
  for (int round = 0; round < 25; ++round) {
    auto forks = edited_forks(rng);
    AutoCommit& doc = forks[0];
    const Bytes saved = doc.save();
    auto loaded = AutoCommit::load(saved);
    ASSERT_TRUE(loaded.is_ok()) << loaded.error();
    AutoCommit applied = replayed(doc);
    EXPECT_EQ(dump(*loaded), dump(doc)) << "round " << round;
    EXPECT_EQ(dump(*loaded), dump(applied));
    EXPECT_EQ(loaded->get_heads(), doc.get_heads());
    EXPECT_EQ(loaded->change_count(), doc.change_count());
    EXPECT_EQ(loaded->save(), saved);  // equal documents save equal bytes

    // The others go on editing, over what the saved copy holds, and everything meets again.
    for (int step = 0; step < 20; ++step) random_edit(forks[1 + rng() % 2], rng);
    for (AutoCommit* other : {&forks[1], &forks[2]}) {
      ASSERT_TRUE(loaded->merge(*other).is_ok());
      ASSERT_TRUE(applied.merge(*other).is_ok());
    }
    EXPECT_EQ(dump(*loaded), dump(applied)) << "round " << round;
    // The loaded copy's own edits land where the applied copy's do, and merge back cleanly.
    for (AutoCommit* copy : {&*loaded, &applied}) {
      auto list = (*copy->get(ROOT, "list"))->value.obj_id();
      ASSERT_TRUE(copy->insert(list, 0, ScalarValue::str("first")).is_ok());
      ASSERT_TRUE(copy->put(ROOT, "a", ScalarValue::str("mine")).is_ok());
      auto text = (*copy->get(ROOT, "text"))->value.obj_id();
      ASSERT_TRUE(copy->splice_text(text, copy->length(text), 0, "!").is_ok());
    }
    EXPECT_EQ((*loaded->get(ROOT, "a"))->value.to_scalar(), ScalarValue::str("mine"));
    EXPECT_EQ(*loaded->text((*loaded->get(ROOT, "text"))->value.obj_id()),
              *applied.text((*applied.get(ROOT, "text"))->value.obj_id()));
    AutoCommit meeting = forks[1].fork();
    ASSERT_TRUE(meeting.merge(*loaded).is_ok());
    ASSERT_TRUE(meeting.merge(applied).is_ok());
    auto again = AutoCommit::load(meeting.save());
    ASSERT_TRUE(again.is_ok());
    EXPECT_EQ(dump(*again), dump(meeting));
    EXPECT_EQ(dump(replayed(meeting)), dump(meeting));
  }
}

TEST(Snapshot, DocumentsSavedWithTheirChangesAloneStillLoad) {
  std::mt19937 rng(77);
  auto forks = edited_forks(rng);
  AutoCommit& doc = forks[0];
  const Bytes older = saved_changes_only(doc);
  auto loaded = AutoCommit::load(older);
  ASSERT_TRUE(loaded.is_ok()) << loaded.error();
  EXPECT_EQ(dump(*loaded), dump(doc));
  EXPECT_EQ(loaded->get_heads(), doc.get_heads());
  auto changes = AutoCommit::load_changes(older);
  ASSERT_TRUE(changes.is_ok());
  EXPECT_EQ(changes->size(), doc.change_count());
  // Saved again, it takes the form with the state.
  auto newer = AutoCommit::load(loaded->save());
  ASSERT_TRUE(newer.is_ok());
  EXPECT_EQ(dump(*newer), dump(doc));
}

TEST(Snapshot, ChangesWaitingForOthersAreKeptAndStillWait) {
  AutoCommit a;
  ASSERT_TRUE(a.put(ROOT, "x", ScalarValue::int64(1)).is_ok());
  a.commit();
  ASSERT_TRUE(a.put(ROOT, "y", ScalarValue::int64(2)).is_ok());
  auto changes = a.get_changes({});
  AutoCommit b;
  ASSERT_TRUE(b.put(ROOT, "own", ScalarValue::int64(3)).is_ok());
  ASSERT_TRUE(b.apply_changes({changes[1]}).is_ok());  // its dependency has not come
  ASSERT_EQ(b.queued_count(), 1u);
  auto loaded = AutoCommit::load(b.save());
  ASSERT_TRUE(loaded.is_ok());
  EXPECT_EQ(loaded->queued_count(), 1u);
  EXPECT_EQ(dump(*loaded), dump(b));
  ASSERT_TRUE(loaded->apply_changes({changes[0]}).is_ok());
  EXPECT_EQ(loaded->queued_count(), 0u);
  EXPECT_EQ((*loaded->get(ROOT, "y"))->value.to_scalar(), ScalarValue::int64(2));
}

AutoCommit small_doc(const char* mode) {
  AutoCommit doc;
  auto m = doc.put_object(ROOT, "maps_v2", ObjType::Map);
  (void)doc.put(*m, "mode", ScalarValue::str(mode));
  auto t = doc.put_object(*m, "name", ObjType::Text);
  (void)doc.splice_text(*t, 0, 0, "Centre");
  doc.commit();
  (void)doc.put(*m, "zoom", ScalarValue::f64(13));
  return doc;
}

std::string mode_of(const AutoCommit& doc) {
  auto m = (*doc.get(ROOT, "maps_v2"))->value.obj_id();
  return *(*doc.get(m, "mode"))->value.to_scalar().as_str();
}

// Loading reads the state itself: a state changed by hand, with its digest made again, is what
// the loaded copy shows (the history beside it says otherwise).
TEST(Snapshot, LoadingReadsTheSavedState) {
  AutoCommit doc = small_doc("car");
  Parts p = split(doc.save());
  auto at = std::search(p.state.begin(), p.state.end(), std::begin("car"), std::end("car") - 1);
  ASSERT_NE(at, p.state.end());
  std::copy_n("bus", 3, at);
  auto loaded = AutoCommit::load(join(p.before_state, p.state));
  ASSERT_TRUE(loaded.is_ok());
  EXPECT_EQ(mode_of(*loaded), "bus");
}

// A state that does not fit the history beside it is passed over and the history applied: a
// damaged state, another document's state, a state naming counters the history never reached
// or objects that are not there.
TEST(Snapshot, AStateThatDoesNotFitItsHistoryIsPassedOver) {
  AutoCommit doc = small_doc("car");
  const Bytes saved = doc.save();
  const Parts p = split(saved);
  const std::string expected = dump(doc);

  std::vector<std::pair<const char*, Bytes>> cases;
  {
    Bytes damaged = saved;
    damaged[p.before_state.size() + 5] ^= 0x01;  // inside the state: its digest no longer holds
    cases.emplace_back("damaged", damaged);
  }
  {
    AutoCommit other = small_doc("bus");
    cases.emplace_back("another document's", join(p.before_state, split(other.save()).state));
  }
  {
    // Ids past the history's counters: the last value's counter raised.
    Bytes state = p.state;
    Parts q = split(saved);
    auto at = std::search(state.begin(), state.end(), std::begin("car"), std::end("car") - 1);
    ASSERT_NE(at, state.end());
    // The value's id sits before its object byte, its kind byte and the string's length.
    auto id = at - 5;
    *id = static_cast<std::uint8_t>(*id + 100);
    cases.emplace_back("counters the history never reached", join(q.before_state, state));
  }
  {
    Bytes state = p.state;
    state.resize(state.size() - 1);
    cases.emplace_back("cut short", join(p.before_state, state));
  }
  {
    Bytes state = p.state;
    state.push_back(0);
    cases.emplace_back("with bytes after it", join(p.before_state, state));
  }
  for (const auto& [what, bytes] : cases) {
    auto loaded = AutoCommit::load(bytes);
    ASSERT_TRUE(loaded.is_ok()) << what << ": " << loaded.error();
    EXPECT_EQ(dump(*loaded), expected) << what;
    EXPECT_EQ(mode_of(*loaded), "car") << what;
  }
  // A file cut anywhere past the changes still holds them whole: they are applied.
  for (std::size_t cut_at : {saved.size() - 1, saved.size() - 32, p.before_state.size() + 1, p.before_state.size()}) {
    auto loaded = AutoCommit::load(std::span<const std::uint8_t>(saved).first(cut_at));
    ASSERT_TRUE(loaded.is_ok()) << "cut at " << cut_at << ": " << loaded.error();
    EXPECT_EQ(dump(*loaded), expected) << "cut at " << cut_at;
  }
  // Damage to the changes is judged as before: they must be whole.
  Bytes cut(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(p.before_state.size() - 1));
  EXPECT_TRUE(AutoCommit::load(cut).is_err());
  EXPECT_TRUE(AutoCommit::load_changes(cut).is_err());
}

}  // namespace
}  // namespace automerge
