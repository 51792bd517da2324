#include "views/recipelistview.h"

#include "views/previewcontroller.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QPalette>

namespace kovanta {

namespace {

class SpaceKeyFilter : public QObject {
public:
    SpaceKeyFilter(QAbstractItemView* list, std::function<void()> onToggle)
        : QObject(list), list_(list), onToggle_(std::move(onToggle))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            const QModelIndex current = list_->currentIndex();
            if (current.isValid() && current.column() != 0)
                list_->setCurrentIndex(current.siblingAtColumn(0));
            onToggle_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractItemView* list_; // the parent: outlives the filter
    std::function<void()> onToggle_;
};

} // namespace

void ApplyRowFinder(QAbstractItemView& list, bool on, const QColor& color)
{
    QPalette palette = list.palette();
    palette.setColor(QPalette::AlternateBase, color);
    list.setPalette(palette);
    list.setAlternatingRowColors(on);
    list.viewport()->update();
}

void InstallTogglePlanTriggers(QAbstractItemView& list, std::function<void()> onToggle)
{
    list.installEventFilter(new SpaceKeyFilter(&list, onToggle));
    QObject::connect(&list, &QAbstractItemView::doubleClicked, &list,
                     [onToggle](const QModelIndex& index) {
                         if (index.isValid())
                             onToggle();
                     });
}

std::int32_t PlanPortionsInModel(const TImpListInfo& recipe, const QAbstractItemModel* plan,
                                 int entryRole, int portionsColumn)
{
    if (!plan)
        return 0;
    return PlanPortions(
        recipe, plan->rowCount(),
        [&](int row) {
            return static_cast<const TImpListInfo*>(
                plan->index(row, 0).data(entryRole).value<void*>());
        },
        [&](int row) { return plan->index(row, portionsColumn).data().toString(); });
}

} // namespace kovanta
