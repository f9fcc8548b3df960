#include "zarn_actions/context.hpp"

namespace zarn_actions::context {

namespace {

void fill(std::string& mine, const std::string& theirs) {
  if (mine.empty()) mine = theirs;
}

}  // namespace

ActionContext ActionContext::enriched_by(const ActionContext& host) const {
  ActionContext out = *this;
  fill(out.app_id, host.app_id);
  fill(out.app_name, host.app_name);
  fill(out.label, host.label);
  fill(out.source, host.source);
  fill(out.window_id, host.window_id);
  for (const auto& [key, value] : host.metadata) out.metadata.emplace(key, value);  // keeps ours
  return out;
}

}  // namespace zarn_actions::context
