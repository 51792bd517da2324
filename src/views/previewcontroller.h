#pragma once

#include "recipe/records.h"
#include "recipe/rezeptimportproz.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QTextEdit;
class QWidget;

// "Show preview": which recipe list row the preview shows, and rebuilding it only when the
// row or a menu plan portion count changed. The main window keeps the state (previewed row,
// refresh mark) and calls ShowPreview when "Vorschau" becomes current and when a row is
// selected while it is current; the controller is a light object over that state, cheap to
// make for each call.
namespace kovanta {

// The value of a "Portionen" cell of the menu plan: a decimal integer, optionally signed and
// surrounded by blanks; anything else (empty, "12a", beyond 32 bits) is 0.
std::int32_t PortionsCellValue(const QString& text);

// The requested portions for recipe: the "Portionen" cell value of the first menu plan row
// (0 .. rowCount-1) whose entry is the same recipe (SameRecipe); 0 when none is. entryAt may
// return nullptr for rows without an entry.
std::int32_t PlanPortions(const TImpListInfo& recipe, int rowCount,
                          const std::function<const TImpListInfo*(int row)>& entryAt,
                          const std::function<QString(int row)>& portionsTextAt);

class PreviewController {
public:
    // The recipe list entry of a row, or nullptr (no such row, or a row without entry).
    using EntryOfRow = std::function<const TImpListInfo*(int row)>;
    // The portions the menu plan asks for the recipe; 0 when it is not in the plan.
    using PortionsOf = std::function<std::int32_t(const TImpListInfo& recipe)>;

    // The state the controller works on: the recipe list row the preview shows (-1: none) and
    // whether a menu plan portion count changed since it was built.
    struct State {
        int& previewedRow;
        bool& refreshPending;
    };

    // proz and the state must outlive the controller; preview and window are watched and may
    // go first (the controller then does nothing). window is disabled while a preview is built.
    PreviewController(const TRezeptImportProz& proz, QTextEdit* preview, QWidget* window,
                      State state, EntryOfRow entryOfRow, PortionsOf portionsOf);

    // Shows the recipe of recipe list row in the preview:
    //  - a row without entry clears the preview and forgets the previewed row;
    //  - the previewed row again, with no portion count changed since and still holding the
    //    recipe the preview shows (a new read may have put another one there), does nothing;
    //  - otherwise the recipe is read again from its file and written for the plan's portions,
    //    with the window disabled and the preview's updates suspended meanwhile (both restored,
    //    and the keyboard focus put back, also when building fails).
    // A recipe whose file cannot be read any more leaves the preview as it was; the previewed
    // row then stays the one whose text is shown, so selecting the row again tries once more.
    // Returns true when the preview was rebuilt.
    bool ShowPreview(int row);

    // Told when the recipe of a row cannot be read from its file any more (the preview then
    // keeps the text it had), so that the window can say so.
    void SetOnUnreadable(std::function<void(const TImpListInfo& recipe)> onUnreadable)
    {
        onUnreadable_ = std::move(onUnreadable);
    }

    // A portion count in the menu plan changed: the next ShowPreview rebuilds even the same row.
    void MarkPortionsChanged() { state_.refreshPending = true; }

    int PreviewedRow() const { return state_.previewedRow; }
    bool RefreshPending() const { return state_.refreshPending; }

private:
    const TRezeptImportProz& proz_;
    QPointer<QTextEdit> preview_;
    QPointer<QWidget> window_;
    EntryOfRow entryOfRow_;
    PortionsOf portionsOf_;
    std::function<void(const TImpListInfo&)> onUnreadable_;
    State state_;
};

} // namespace kovanta
