#include "tiles/tile_disk.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "base/scoped_env.hpp"
#include "temp_dir.hpp"

namespace maps {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

TEST(TileCacheRoot, FirstUsableVariableWins) {
  struct Case {
    std::optional<std::string> xdg, home;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"/var/cache/u", "/home/u", "/var/cache/u/zarn-maps/tiles"},
      {"", "/home/u", "/home/u/.cache/zarn-maps/tiles"},
      {std::nullopt, "/home/u", "/home/u/.cache/zarn-maps/tiles"},
      {std::string("/bad\xff"), "/home/u", "/home/u/.cache/zarn-maps/tiles"},  // not UTF-8
      {std::nullopt, "", "/tmpdir/zarn-maps/tiles"},
      {std::nullopt, std::nullopt, "/tmpdir/zarn-maps/tiles"},
      {"/caché", std::nullopt, "/caché/zarn-maps/tiles"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tile_cache_root_for(c.xdg, c.home, "/tmpdir"), fs::path(c.expected)) << c.expected;
  }
}

TEST(TileCacheRoot, ReadsTheEnvironmentEachCall) {
  base::ScopedEnv env("XDG_CACHE_HOME", "/var/cache/u");
  EXPECT_EQ(tile_cache_root(), fs::path("/var/cache/u/zarn-maps/tiles"));
  env.set("XDG_CACHE_HOME", "/other");
  EXPECT_EQ(tile_cache_root(), fs::path("/other/zarn-maps/tiles"));
}

TEST(TileNames, FileAndUrl) {
  const TileKey key{8718, 5685, 14};
  EXPECT_EQ(tile_file_name(key), fs::path("14/8718/5685.png"));
  EXPECT_EQ(fs::path("root/light") / tile_file_name(key), fs::path("root/light/14/8718/5685.png"));
  EXPECT_EQ(tile_url("https://h/light_nolabels", key), "https://h/light_nolabels/14/8718/5685.png");
  EXPECT_EQ(tile_url("b", {4294967295u, 0, 255}), "b/255/4294967295/0.png");
}

TEST(WriteTileFile, CreatesDirectoriesReplacesAndLeavesNoTemporaries) {
  TempDir dir;
  const fs::path path = dir.path() / "light/3/2/1.png";
  ASSERT_TRUE(write_tile_file(path, std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(read_file(path), (std::vector<std::uint8_t>{1, 2, 3}));
  ASSERT_TRUE(write_tile_file(path, std::vector<std::uint8_t>{9}));
  EXPECT_EQ(read_file(path), (std::vector<std::uint8_t>{9}));
  std::size_t entries = 0;
  for (const auto& e : fs::directory_iterator(path.parent_path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
  // A parent that is a file: the write fails and says so.
  EXPECT_FALSE(write_tile_file(path / "x.png", std::vector<std::uint8_t>{1}));
}

TEST(DirSizeRecursive, SumsFilesAndIgnoresLinkTargets) {
  TempDir dir;
  EXPECT_EQ(dir_size_recursive(dir.path() / "missing"), 0u);
  write_file(dir.path() / "a/1/1.png", std::vector<std::uint8_t>(100, 0));
  write_file(dir.path() / "a/1/2.png", std::vector<std::uint8_t>(23, 0));
  write_file(dir.path() / "b/big.bin", std::vector<std::uint8_t>(5000, 0));
  EXPECT_EQ(dir_size_recursive(dir.path() / "a"), 123u);
  // A link to a large file counts as the link itself, not its target.
  fs::create_symlink(dir.path() / "b/big.bin", dir.path() / "a/link");
  const auto link_size = fs::symlink_status(dir.path() / "a/link").type() == fs::file_type::symlink
                             ? (dir.path() / "b/big.bin").string().size()
                             : 0;
  EXPECT_EQ(dir_size_recursive(dir.path() / "a"), 123u + link_size);
}

TEST(Utf8, Validation) {
  EXPECT_TRUE(is_valid_utf8(""));
  EXPECT_TRUE(is_valid_utf8("caf\xc3\xa9"));
  EXPECT_FALSE(is_valid_utf8("\xc3"));
  EXPECT_FALSE(is_valid_utf8("\xc0\xaf"));          // overlong
  EXPECT_FALSE(is_valid_utf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(is_valid_utf8("\xf4\x90\x80\x80"));  // past U+10FFFF
}

}  // namespace
}  // namespace maps
