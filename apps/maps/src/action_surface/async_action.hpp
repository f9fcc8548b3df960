#pragma once
// The result slot of the asynchronous "maps.locate" action, in the framework's terms.

#include "zarn_ui/ui_action.hpp"

namespace maps {

using LocateRequestId = zarn_ui::ui_action::RequestId;
using AsyncActionResult = zarn_ui::ui_action::AsyncResult;

}  // namespace maps
