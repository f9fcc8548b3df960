#pragma once
// ICU's common library is opened when a text first needs more than ASCII case mappings, not with
// the program: loading and relocating it (with its data library) would stand before the window's
// first frame, and a start with no recent searches and nothing typed never needs it. Only its C
// functions are called, through this table; the program is built against the headers alone.

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/uvernum.h>

#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "base/result.hpp"

#define MAPS_ICU_TEXT_OF(x) #x
#define MAPS_ICU_TEXT(x) MAPS_ICU_TEXT_OF(x)

namespace maps {

// The library of the ICU the headers are from: its file name carries the major version.
inline constexpr const char* kIcuLibraryFile = "libicuuc.so." MAPS_ICU_TEXT(U_ICU_VERSION_MAJOR_NUM);

struct IcuLibrary {
  decltype(&::u_strFromUTF8WithSub) str_from_utf8 = nullptr;
  decltype(&::u_strToUTF8WithSub) str_to_utf8 = nullptr;
  decltype(&::u_strToLower) str_to_lower = nullptr;
  decltype(&::u_isUWhiteSpace) is_white_space = nullptr;
};

// Opens `file` (never closed again) and finds every function of the table in it; the error names
// the library or the function that is missing.
base::Result<IcuLibrary> open_icu_library(const char* file);

// One library, opened on the first call of `get` and never again, whatever the outcome; safe to
// call from any thread.
class IcuLoader {
 public:
  explicit IcuLoader(std::string file) : file_(std::move(file)) {}
  IcuLoader(const IcuLoader&) = delete;
  IcuLoader& operator=(const IcuLoader&) = delete;

  // The library; null when it could not be opened, which the log says once ("maps::text").
  const IcuLibrary* get();

 private:
  std::string file_;
  std::once_flag once_;
  std::optional<IcuLibrary> library_;
};

// The process's ICU.
IcuLoader& process_icu();

}  // namespace maps
