#pragma once
// Portal handle tokens and the object paths the portal derives from them.

#include <string>

namespace maps {

// A fresh random token, valid as one object-path element.
std::string new_handle_token();

// "/org/freedesktop/portal/desktop/request/<sender>/<token>", where <sender> is the caller's
// unique bus name without its ':' and with '.' turned into '_'.
std::string request_path_for(const std::string& unique_name, const std::string& token);

}  // namespace maps
