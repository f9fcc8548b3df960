#pragma once
// The offline panel as assistive technology sees it: the field, the close button, the detail
// steppers, the delete buttons, download and clear, each with its label, id and rectangle as
// last painted.

#include <string>
#include <vector>

#include "messages/offline_command.hpp"

namespace maps {

class OfflinePanel;

struct OfflineEntry {
  OfflineCommand command;
  std::string label;
  std::string id;
  zarn_ui::Rect rect;
  bool operator==(const OfflineEntry&) const = default;
};

std::vector<OfflineEntry> offline_panel_entries(const OfflinePanel& panel);

}  // namespace maps
