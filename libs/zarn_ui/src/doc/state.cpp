#include "zarn_ui/state.hpp"

#include <spdlog/spdlog.h>

namespace zarn_ui::state {

State::State() : doc_(persist::PersistedDoc::in_memory()) {}

State::State(persist::PersistedDoc doc) : doc_(std::move(doc)) {}

base::Status State::flush() {
  auto ok = doc_.flush();
  if (!ok) {
    if (ok.error() != last_error_) spdlog::warn("saving the document failed: {}", ok.error());
    last_error_ = ok.error();
  } else if (!last_error_.empty()) {
    spdlog::info("saving the document works again");
    last_error_.clear();
  }
  return ok;
}

}  // namespace zarn_ui::state
