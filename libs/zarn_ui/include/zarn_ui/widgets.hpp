#pragma once
// The framework widgets the application owns and configures: text fields, the autocomplete
// field, the pop-up menu, text blocks, buttons and tooltips.

#include "zarn_ui/autocomplete.hpp"
#include "zarn_ui/button.hpp"
#include "zarn_ui/context_menu.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/text_input.hpp"
#include "zarn_ui/text_widget.hpp"
#include "zarn_ui/tooltip.hpp"
