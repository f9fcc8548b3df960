#include "icu/icu_library.hpp"

#include <dlfcn.h>

#include <memory>
#include <type_traits>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

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
  // Resolved in full now, so that a library missing a function fails here, with a text, rather
  // than ending the process at its first call.
  void* handle = ::dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = ::dlerror();
    return base::err(why ? why : fmt::format("{} cannot be opened", file));
  }
  IcuLibrary lib;
  std::string missing;
  const auto find = [&](auto& field, const char* name) {
    void* symbol = ::dlsym(handle, name);
    if (symbol == nullptr && missing.empty()) missing = name;
    field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(symbol);
  };
  // ICU's headers rename every function to carry the version of the library they belong to
  // (u_strToLower is u_strToLower_72 for ICU 72), so the names looked up are those spelt out by
  // the same renaming.
  find(lib.str_from_utf8, MAPS_ICU_TEXT(u_strFromUTF8WithSub));
  find(lib.str_to_utf8, MAPS_ICU_TEXT(u_strToUTF8WithSub));
  find(lib.str_to_lower, MAPS_ICU_TEXT(u_strToLower));
  find(lib.is_white_space, MAPS_ICU_TEXT(u_isUWhiteSpace));
  if (!missing.empty()) return base::err(fmt::format("{} has no {}", file, missing));
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
