#include "views/previewcontroller.h"

#include "recipe/requirements.h"
#include "views/richtextpreview.h"

#include <QApplication>
#include <QTextEdit>
#include <QWidget>

namespace kovanta {

namespace {

// Disables a window for the life of the guard and suspends a widget's painting, restoring only
// what it changed itself: a widget whose updates a caller had already suspended (a tab switch
// locks the whole window) must get them back from that caller, or it would stay frozen. Qt
// also moves the keyboard focus out of a disabled window and does not bring it back, which
// would leave the recipe list without focus after every preview; the guard puts it back.
class BusyGuard {
public:
    BusyGuard(QWidget* window, QWidget* painted) : window_(window), painted_(painted)
    {
        if (window_ && window_->isEnabled()) {
            QWidget* focus = QApplication::focusWidget();
            if (focus && window_->isAncestorOf(focus))
                focus_ = focus;
            window_->setEnabled(false);
            disabled_ = true;
        }
        if (painted_ && painted_->updatesEnabled()) {
            painted_->setUpdatesEnabled(false);
            suspended_ = true;
        }
    }
    ~BusyGuard()
    {
        if (painted_ && suspended_)
            painted_->setUpdatesEnabled(true);
        if (window_ && disabled_)
            window_->setEnabled(true);
        if (focus_ && focus_->isEnabled() && !QApplication::focusWidget())
            focus_->setFocus(Qt::OtherFocusReason);
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> painted_;
    QPointer<QWidget> focus_;
    bool disabled_ = false;
    bool suspended_ = false;
};

// The fields SameRecipe compares, as one text.
std::string recipeIdentity(const TImpListInfo& e)
{
    return std::to_string(e.FileNumber) + '|' + std::to_string(e.NameNumber) + '|' +
           std::to_string(e.EntryIndex) + '|' + e.FileName;
}

} // namespace

std::int32_t PlanPortions(const TImpListInfo& recipe, int rowCount,
                          const std::function<const TImpListInfo*(int row)>& entryAt,
                          const std::function<std::string(int row)>& portionsTextAt)
{
    for (int row = 0; row < rowCount; ++row) {
        const TImpListInfo* entry = entryAt(row);
        if (entry && entry->SameRecipe(recipe))
            return PortionsTextValue(portionsTextAt(row));
    }
    return 0;
}

PreviewController::PreviewController(const TRezeptImportProz& proz, QTextEdit* preview,
                                     QWidget* window, EntryOfRow entryOfRow, PortionsOf portionsOf,
                                     QObject* parent)
    : QObject(parent), proz_(proz), preview_(preview), window_(window),
      entryOfRow_(std::move(entryOfRow)), portionsOf_(std::move(portionsOf))
{}

bool PreviewController::ShowPreview(int row)
{
    unreadable_ = false;
    if (!preview_)
        return false;
    const TImpListInfo* entry = entryOfRow_ ? entryOfRow_(row) : nullptr;
    if (!entry) {
        const bool wasShowing = previewedRow_ != -1 || !shownIdentity_.empty();
        previewedRow_ = -1;
        shownIdentity_.clear();
        preview_->clear();
        if (wasShowing)
            emit previewChanged(-1);
        return false;
    }
    // A new read of the recipes may have put another recipe into the previewed row; the
    // identity of what is on show tells, so such a row is built again.
    std::string identity = recipeIdentity(*entry);
    if (row == previewedRow_ && !refreshPending_ && shownIdentity_ == identity)
        return false;

    {
        const BusyGuard busy(window_, preview_);
        const std::int32_t portions = portionsOf_ ? portionsOf_(*entry) : 0;
        if (!FillPreviewRich(proz_, *entry, *preview_, portions)) {
            unreadable_ = true;
            if (onUnreadable_)
                onUnreadable_(*entry);
            return false;
        }
    }
    previewedRow_ = row;
    refreshPending_ = false;
    shownIdentity_ = std::move(identity);
    emit previewChanged(row);
    return true;
}

} // namespace kovanta
