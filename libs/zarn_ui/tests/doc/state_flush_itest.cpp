#include <gtest/gtest.h>

#include "persist_temp_dir.hpp"
#include "zarn_ui/state.hpp"

namespace zarn_ui::state {
namespace {

using automerge::ROOT;
using automerge::ScalarValue;

TEST(StateFlush, InMemoryStateNeverTouchesDisk) {
  State s;
  EXPECT_FALSE(s.persisted().is_persistent());
  ASSERT_TRUE(s.doc().put(ROOT, "k", ScalarValue::int64(1)).is_ok());
  EXPECT_TRUE(s.flush().is_ok());
  EXPECT_EQ(s.doc().change_count(), 1u);  // the frame's change is closed all the same
}

TEST(StateFlush, PersistedStateWritesEachFramesChanges) {
  persist::testing_support::TempDir dir;
  {
    State s(persist::open_in(dir.path()));
    ASSERT_TRUE(s.persisted().is_persistent());
    ASSERT_TRUE(s.doc().put(ROOT, "k", ScalarValue::int64(1)).is_ok());
    ASSERT_TRUE(s.flush().is_ok());
    // Reading the document again from disk while the state lives: the change is there.
    State other(persist::open_in(dir.path()));
    EXPECT_EQ(persist::testing_support::int_at(other.doc(), "k"), 1);
  }
}

}  // namespace
}  // namespace zarn_ui::state
