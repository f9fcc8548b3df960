#pragma once
// A folder tree measured, or removed, a slice at a time, so the thread doing it can serve other
// work between slices. Sizes count as dir_size_recursive counts them (regular files by their
// length, symbolic links themselves and not their targets); entries that cannot be read count as
// nothing, and a removal skips what it cannot remove.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace maps {

class DirWalk {
 public:
  enum class Mode {
    Measure,
    Remove,  // each entry goes once counted, each folder once emptied, the root last
  };
  DirWalk(std::filesystem::path root, Mode mode);

  // Looks at up to `budget` entries (at least one); true once the whole tree is done.
  bool step(std::size_t budget);
  bool done() const { return done_; }
  // The bytes counted so far.
  std::uint64_t bytes() const { return bytes_; }

 private:
  struct Level {
    std::filesystem::path dir;
    std::filesystem::directory_iterator it;
  };
  void leave_level();

  std::filesystem::path root_;
  Mode mode_;
  bool started_ = false;
  bool done_ = false;
  std::uint64_t bytes_ = 0;
  std::vector<Level> stack_;
};

}  // namespace maps
