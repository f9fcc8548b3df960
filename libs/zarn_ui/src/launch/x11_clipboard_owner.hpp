#pragma once
// Whether another X client holds the clipboard, so that a read that brought no text can tell
// "nothing there" from "something there that could not be read".

namespace zarn_ui::launch {

// False on other window systems and without a window of the application.
bool clipboard_owned_by_other_client();

}  // namespace zarn_ui::launch
