#pragma once

#include "recipe/records.h"

#include <QColor>

#include <cstdint>
#include <functional>

class QAbstractItemModel;
class QAbstractItemView;

// The recipe list's part in the main window beyond its cells: the row finder, the keys that
// toggle a recipe in the menu plan, and the portions a listed recipe has in the menu plan.
namespace kovanta {

// The row finder's shading: light gray.
inline const QColor kRowFinderColor{230, 230, 230};

// Switches the row finder (alternating row shading in color) of one list on or off and repaints
// it. The main window applies it to the recipe list and the menu plan, never to the
// requirements list.
void ApplyRowFinder(QAbstractItemView& list, bool on, const QColor& color = kRowFinderColor);

// The space key (current column becomes 0) and a double-click on a row of list call onToggle,
// which posts the "toggle in plan" message. The space key is not passed on to the list.
// Safe to call once per list; the hooks live as long as the list.
void InstallTogglePlanTriggers(QAbstractItemView& list, std::function<void()> onToggle);

// PlanPortions over a menu plan model: a row's entry is the TImpListInfo pointer (void*) that
// column 0 holds under entryRole (rows without one hold none), its portions text the display
// text of portionsColumn. Nothing planned (or no model): 0.
std::int32_t PlanPortionsInModel(const TImpListInfo& recipe, const QAbstractItemModel* plan,
                                 int entryRole, int portionsColumn);

} // namespace kovanta
