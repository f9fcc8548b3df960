#pragma once
// Text helpers over the document.

#include <string_view>

#include "automerge/automerge.hpp"
#include "base/result.hpp"

namespace zarn_ui::doc {

// Makes the text object hold exactly `new_text` by splicing only the part that differs (the
// common prefix and suffix, by code points, stay). An equal text adds no operation.
base::Status splice_text_diffed(automerge::AutoCommit& doc, const automerge::ExId& text_obj, std::string_view new_text);

}  // namespace zarn_ui::doc
