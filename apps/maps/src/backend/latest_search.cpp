#include "backend/latest_search.hpp"

namespace maps {

LatestSearch::Ask LatestSearch::ask(const std::string& key) {
  if (key_ == key) return answer_ ? Ask::Answered : Ask::Joined;
  key_ = key;
  answer_.reset();
  return Ask::Send;
}

void LatestSearch::answered(const std::string& key, const base::Result<std::vector<Place>>& result) {
  if (key_ != key || answer_) return;
  if (result.is_ok()) {
    answer_ = result.value();
  } else {
    key_.reset();
  }
}

}  // namespace maps
