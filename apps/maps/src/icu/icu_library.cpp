#include "icu/icu_library.hpp"

#include <memory>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include "base/shared_library.hpp"

namespace maps {

namespace {

std::shared_ptr<spdlog::logger> text_logger() {
  if (auto existing = spdlog::get("maps::text")) return existing;
  try {
    return spdlog::stderr_color_mt("maps::text");
  } catch (const spdlog::spdlog_ex&) {
    // Registered meanwhile by another caller.
    return spdlog::get("maps::text");
  }
}

}  // namespace

base::Result<IcuLibrary> open_icu_library(const char* file) {
  base::SharedLibrary so;
  if (auto failed = base::SharedLibrary::open(file, so)) return *failed;
  IcuLibrary lib;
  const auto find = [&](auto& function, const char* name) { so.find(function, name); };
  // ICU's headers rename every function to carry the version of the library they belong to
  // (u_strToLower is u_strToLower_72 for ICU 72), so the names looked up are those spelt out by
  // the same renaming.
  find(lib.str_from_utf8, MAPS_ICU_TEXT(u_strFromUTF8WithSub));
  find(lib.str_to_utf8, MAPS_ICU_TEXT(u_strToUTF8WithSub));
  find(lib.str_to_lower, MAPS_ICU_TEXT(u_strToLower));
  find(lib.is_white_space, MAPS_ICU_TEXT(u_isUWhiteSpace));
  if (auto missing = so.missing()) return *missing;
  return lib;
}

const IcuLibrary* IcuLoader::get() {
  std::call_once(once_, [this] {
    auto lib = open_icu_library(file_.c_str());
    if (lib) {
      library_ = *lib;
    } else if (auto log = text_logger()) {
      log->warn("ICU could not be loaded, so texts are lower-cased in ASCII only: {}", lib.error());
    }
  });
  return library_ ? &*library_ : nullptr;
}

IcuLoader& process_icu() {
  static IcuLoader loader(kIcuLibraryFile);
  return loader;
}

}  // namespace maps
