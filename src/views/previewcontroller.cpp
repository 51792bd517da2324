#include "views/previewcontroller.h"

#include "views/richtextpreview.h"

#include <QApplication>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

#include <limits>

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

// The dynamic property of the preview widget naming the recipe it shows.
constexpr char kShownRecipe[] = "kovantaShownRecipe";

// The fields SameRecipe compares, as one text.
QString RecipeIdentity(const TImpListInfo& e)
{
    return QString::number(e.FileNumber) + QLatin1Char('|') + QString::number(e.NameNumber) +
           QLatin1Char('|') + QString::number(e.EntryIndex) + QLatin1Char('|') +
           QString::fromUtf8(e.FileName.data(), static_cast<qsizetype>(e.FileName.size()));
}

} // namespace

std::int32_t PortionsCellValue(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(value);
}

std::int32_t PlanPortions(const TImpListInfo& recipe, int rowCount,
                          const std::function<const TImpListInfo*(int row)>& entryAt,
                          const std::function<QString(int row)>& portionsTextAt)
{
    for (int row = 0; row < rowCount; ++row) {
        const TImpListInfo* entry = entryAt(row);
        if (entry && entry->SameRecipe(recipe))
            return PortionsCellValue(portionsTextAt(row));
    }
    return 0;
}

PreviewController::PreviewController(const TRezeptImportProz& proz, QTextEdit* preview,
                                     QWidget* window, State state, EntryOfRow entryOfRow,
                                     PortionsOf portionsOf)
    : proz_(proz), preview_(preview), window_(window), entryOfRow_(std::move(entryOfRow)),
      portionsOf_(std::move(portionsOf)), state_(state)
{}

bool PreviewController::ShowPreview(int row)
{
    if (!preview_)
        return false;
    const TImpListInfo* entry = entryOfRow_ ? entryOfRow_(row) : nullptr;
    if (!entry) {
        state_.previewedRow = -1;
        preview_->clear();
        preview_->setProperty(kShownRecipe, QVariant());
        return false;
    }
    // A new read of the recipes may have put another recipe into the previewed row; the
    // preview carries the identity of what it shows, so such a row is built again.
    const QString identity = RecipeIdentity(*entry);
    if (row == state_.previewedRow && !state_.refreshPending &&
        preview_->property(kShownRecipe).toString() == identity)
        return false;

    const BusyGuard busy(window_, preview_);
    const std::int32_t portions = portionsOf_ ? portionsOf_(*entry) : 0;
    if (!FillPreviewRich(proz_, *entry, *preview_, portions)) {
        if (onUnreadable_)
            onUnreadable_(*entry);
        return false;
    }
    state_.previewedRow = row;
    state_.refreshPending = false;
    preview_->setProperty(kShownRecipe, identity);
    return true;
}

} // namespace kovanta
