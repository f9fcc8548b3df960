#pragma once
// A library opened while the program runs (and never closed again), and the functions found in
// it by name. Everything is resolved when it is opened, so a library that lacks a function fails
// there, with a text, rather than ending the process at that function's first call.

#include <dlfcn.h>

#include <optional>
#include <string>

#include "base/result.hpp"

namespace base {

class SharedLibrary {
 public:
  // The loader's own reason when the file cannot be opened.
  static std::optional<Error> open(const char* file, SharedLibrary& out) {
    void* handle = ::dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* why = ::dlerror();
      return err(why ? std::string(why) : std::string(file) + " cannot be opened");
    }
    out.file_ = file;
    out.handle_ = handle;
    return std::nullopt;
  }

  // Sets `function` to the library's function `name`, or to null.
  template <class Function>
  void find(Function*& function, const char* name) {
    void* symbol = handle_ ? ::dlsym(handle_, name) : nullptr;
    if (symbol == nullptr && missing_.empty()) missing_ = name;
    function = reinterpret_cast<Function*>(symbol);
  }

  // The same for a function the library may lack: a null `function` is no failure. The search
  // takes in the libraries this one was linked against.
  template <class Function>
  void find_if_present(Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(handle_ ? ::dlsym(handle_, name) : nullptr);
  }

  // "FILE has no NAME" for the first function `find` did not find.
  std::optional<Error> missing() const {
    if (missing_.empty()) return std::nullopt;
    return err(file_ + " has no " + missing_);
  }

 private:
  std::string file_;
  void* handle_ = nullptr;
  std::string missing_;
};

}  // namespace base
