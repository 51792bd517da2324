#pragma once

#include "recipe/recipetext.h"

#include <cstdint>

class QTextEdit;

// The formatted preview in a rich-text widget. The paragraphs come from the recipe text
// producer (recipe/recipetext.h); this only lays them out: one block per paragraph, with the
// paragraph's tab stops, point size, weight and colour. Built through QTextCursor, not HTML, so
// that the tab stops survive.
namespace kovanta {

// Tab stops are given in points; the widget measures them in pixels at 96 per inch.
inline constexpr double PointsToPixels(double points)
{
    return points * 96.0 / 72.0;
}

// Replaces the content of edit with text (one block per paragraph; no block at all when text
// has no paragraphs) and puts the caret at the start. The font family stays the widget's.
void WriteRecipeText(const RecipeText& text, QTextEdit& edit);

// FillPreviewRich for a widget: reads the recipe again from its file and writes its preview
// for requestedPortions into edit. When the file cannot be opened, returns false and leaves
// edit exactly as it was (not even cleared).
bool FillPreviewRich(const TRezeptImportProz& proz, const TImpListInfo& entry, QTextEdit& edit,
                     std::int32_t requestedPortions);

} // namespace kovanta
