#pragma once

#include "recipe/records.h"
#include "recipe/rezeptimportproz.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>

class QTextEdit;
class QWidget;

// "Show preview": which recipe list row the preview shows, and rebuilding it only when the
// row or a menu plan portion count changed. One controller lives as long as the main window;
// it keeps the previewed row, the refresh mark and the identity of the recipe on show.
namespace kovanta {

// The requested portions for recipe: the "Portionen" cell value (PortionsTextValue, the rule
// the requirements use) of the first menu plan row (0 .. rowCount-1) whose entry is the same
// recipe (SameRecipe); 0 when none is. entryAt may return nullptr for rows without an entry;
// portionsTextAt gives the cell's ANSI text.
std::int32_t PlanPortions(const TImpListInfo& recipe, int rowCount,
                          const std::function<const TImpListInfo*(int row)>& entryAt,
                          const std::function<std::string(int row)>& portionsTextAt);

class PreviewController : public QObject {
    Q_OBJECT
public:
    // The recipe list entry of a row, or nullptr (no such row, or a row without entry).
    using EntryOfRow = std::function<const TImpListInfo*(int row)>;
    // The portions the menu plan asks for the recipe; 0 when it is not in the plan.
    using PortionsOf = std::function<std::int32_t(const TImpListInfo& recipe)>;

    // proz must outlive the controller; preview and window are watched and may go first (the
    // controller then does nothing). window is disabled while a preview is built.
    PreviewController(const TRezeptImportProz& proz, QTextEdit* preview, QWidget* window,
                      EntryOfRow entryOfRow, PortionsOf portionsOf, QObject* parent = nullptr);

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
    void MarkPortionsChanged() { refreshPending_ = true; }

    // The recipe list row on show, -1 for none.
    int PreviewedRow() const { return previewedRow_; }
    bool RefreshPending() const { return refreshPending_; }
    // The last ShowPreview met a recipe file that cannot be read.
    bool LastUnreadable() const { return unreadable_; }

signals:
    // The preview now shows recipe list row (rebuilt), or nothing (-1, cleared).
    void previewChanged(int row);

private:
    const TRezeptImportProz& proz_;
    QPointer<QTextEdit> preview_;
    QPointer<QWidget> window_;
    EntryOfRow entryOfRow_;
    PortionsOf portionsOf_;
    std::function<void(const TImpListInfo&)> onUnreadable_;
    int previewedRow_ = -1;
    bool refreshPending_ = false;
    bool unreadable_ = false;
    // The recipe on show (the fields SameRecipe compares), empty for none.
    std::string shownIdentity_;
};

} // namespace kovanta
