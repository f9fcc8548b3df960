#pragma once
// The latest geocoding search of a field, so that the same text asked again (on Enter after the
// typing pause already sent it) goes out once: while the first request is on its way the new
// one waits for its answer, and once the answer came it is taken again. The public geocoder's
// usage policy asks for no repeated requests. Only a successful answer is kept; a failed one
// lets the next ask go out.

#include <optional>
#include <string>
#include <vector>

#include "base/result.hpp"
#include "model/records.hpp"

namespace maps {

class LatestSearch {
 public:
  enum class Ask {
    Send,     // a new text: send it (it is now the latest)
    Joined,   // the latest text, still on its way: its answer will do
    Answered  // the latest text, answered: answer()
  };
  Ask ask(const std::string& key);
  // The kept answer of the latest search; only after ask() said Answered.
  const std::vector<Place>& answer() const { return *answer_; }
  // An answer for `key`; kept when it answers the latest search.
  void answered(const std::string& key, const base::Result<std::vector<Place>>& result);

 private:
  std::optional<std::string> key_;
  std::optional<std::vector<Place>> answer_;
};

}  // namespace maps
