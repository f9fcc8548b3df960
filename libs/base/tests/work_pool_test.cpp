#include "base/work_pool.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace base {
namespace {

// Every piece runs once, on a pool of any size, also when pieces hand out batches of their own
// (more of them than the pool has threads), and posted pieces run before the pool ends.
TEST(WorkPool, RunsEveryPieceOnceAlsoNested) {
  for (std::size_t threads : {0u, 1u, 3u}) {
    std::atomic<int> runs{0};
    {
      WorkPool pool(threads);
      EXPECT_EQ(pool.threads(), threads);
      std::vector<std::function<void()>> outer;
      for (int i = 0; i < 8; ++i) {
        outer.push_back([&] {
          std::vector<std::function<void()>> inner(8, [&] { ++runs; });
          pool.run_all(std::move(inner));
        });
      }
      pool.run_all(std::move(outer));
      EXPECT_EQ(runs.load(), 64) << threads;
      pool.run_all({});
      std::promise<void> posted;
      pool.post([&] {
        ++runs;
        posted.set_value();
      });
      posted.get_future().wait();
      pool.post([&] { ++runs; });
      pool.post([] { throw 1; });  // a failing piece ends nothing
    }
    EXPECT_EQ(runs.load(), 66) << threads;
  }
  EXPECT_GE(WorkPool::threads_for_cores(4), 1u);
  EXPECT_LE(WorkPool::threads_for_cores(4), 4u);
}

}  // namespace
}  // namespace base
