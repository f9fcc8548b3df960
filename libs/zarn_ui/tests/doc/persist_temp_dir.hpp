#pragma once
// A fresh folder per test, removed afterwards.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "automerge/automerge.hpp"

namespace zarn_ui::persist::testing_support {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::path(::testing::TempDir()) / "persist-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    char* made = ::mkdtemp(buf.data());
    EXPECT_NE(made, nullptr);
    path_ = made ? made : "";
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  // Files in the folder whose names start with the prefix.
  std::vector<std::filesystem::path> files_starting(const std::string& prefix) const {
    std::vector<std::filesystem::path> out;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
      if (e.path().filename().string().rfind(prefix, 0) == 0) out.push_back(e.path());
    }
    return out;
  }

 private:
  std::filesystem::path path_;
};

inline std::optional<std::int64_t> int_at(const automerge::AutoCommit& doc, const std::string& key) {
  auto v = doc.get(automerge::ROOT, key);
  if (!v || !v->has_value()) return std::nullopt;
  return (*v)->value.to_scalar().as_int();
}

inline std::vector<std::uint8_t> read_all(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_all(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zarn_ui::persist::testing_support
