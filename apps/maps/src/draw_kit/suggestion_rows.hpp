#pragma once
// The suggestion card under a text field: up to six place rows with their distance. The search
// box and the route endpoint fields share it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "draw_kit/primitives.hpp"
#include "model/records.hpp"
#include "search/ranking.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

inline constexpr std::size_t kMaxSuggestionRows = 6;

// How a row marks its place: an accent dot, or a disc in the place's category colour.
enum class SuggestionDisc : std::uint8_t { Accent, Category };

struct SuggestionRows {
  Rect card;
  std::vector<Rect> rows;  // row i shows suggestion i
};

// The row the arrow keys point at after one step (+1 Down, -1 Up) through `count` suggestions,
// of which at most six are shown: wrapping, Up from none starting at the last row. None without
// rows.
std::optional<std::uint64_t> step_highlight(std::optional<std::uint64_t> current, std::size_t count, int delta);

// The card's rectangle under `anchor` for `count` suggestions (at most six rows).
Rect suggestion_card_rect(const Rect& anchor, std::size_t count);

// Paints the card and its rows under `anchor`: the row the arrow keys point at (`pointed`) in the
// hover colour, the row of the place whose id is `selected` tinted with the accent.
SuggestionRows paint_suggestion_rows(Scene& scene, const Affine& transform, const TextRenderer& text,
                                     const zarn_ui::theme::Theme& theme, const Rect& anchor,
                                     const std::vector<Place>& places, LatLon reference,
                                     const std::optional<std::string>& selected, std::optional<std::uint64_t> pointed,
                                     SuggestionDisc disc);

}  // namespace maps
