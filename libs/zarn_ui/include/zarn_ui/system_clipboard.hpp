#pragma once
// The desktop's clipboard, through SDL. Without an open window it holds nothing and keeps
// nothing, so shots and tests that reach it see an empty clipboard.

#include "zarn_ui/clipboard.hpp"

namespace zarn_ui::launch {

clipboard::Clipboard& system_clipboard();

}  // namespace zarn_ui::launch
