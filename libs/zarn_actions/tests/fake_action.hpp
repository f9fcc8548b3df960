#pragma once
// Test double: an action that records the document it was lent.

#include <stdexcept>
#include <string>

#include "automerge/automerge.hpp"
#include "zarn_actions/action.hpp"

namespace zarn_actions::testing {

struct Probe {
  int applies = 0;
  const automerge::AutoCommit* doc = nullptr;
};

class FakeAction : public action::Action {
 public:
  explicit FakeAction(std::string name, Probe* probe = nullptr, bool throws = false, bool read_only = false)
      : name_(std::move(name)), probe_(probe), throws_(throws), read_only_(read_only) {}

  std::string debug_text() const override { return "FakeAction(" + name_ + ")"; }
  void apply(automerge::AutoCommit& doc) const override {
    if (probe_ != nullptr) {
      ++probe_->applies;
      probe_->doc = &doc;
    }
    if (throws_) throw std::runtime_error("document refused the write");
  }
  bool is_read_only() const override { return read_only_; }

  const std::string& name() const { return name_; }

 private:
  std::string name_;
  Probe* probe_;
  bool throws_;
  bool read_only_;
};

}  // namespace zarn_actions::testing
