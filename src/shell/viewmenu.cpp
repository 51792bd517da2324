#include "viewmenu.h"

#include "grid/astringgrid.h"
#include "gridsetup.h"
#include "hint.h"
#include "platform/qt/ansiqstring.h"
#include "tablayout.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

namespace kovanta {

namespace {

// The tabs the keyboard goes round: "Information" only leaves them for the start page.
constexpr int kWorkTabs = TabInformation;

} // namespace

ViewMenu::ViewMenu(TabWorkArea* tabs, QMenuBar* bar, QAction* before, QObject* parent)
    : QObject(parent), tabs_(tabs)
{
    setObjectName(QStringLiteral("ViewMenu"));
    menu_ = new QMenu(QStringLiteral("&Ansicht"), bar);
    menu_->setObjectName(QStringLiteral("Ansicht1"));
    bar->insertMenu(before, menu_);

    start_ = menu_->addAction(QStringLiteral("&Programmstart"));
    start_->setObjectName(QStringLiteral("Programmstart1"));
    start_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    applyHint(start_, QStringLiteral("Starten Sie VEMO-KOVANTA"));
    start_->setEnabled(false);
    connect(start_, &QAction::triggered, this, &ViewMenu::startRequested);
    reload_ = menu_->addAction(QStringLiteral("&Neu einlesen"));
    reload_->setObjectName(QStringLiteral("NeuEinlesen1"));
    reload_->setShortcut(QKeySequence(Qt::Key_F5));
    applyHint(reload_, QStringLiteral("Rezepte neu einlesen"));
    reload_->setEnabled(false);
    connect(reload_, &QAction::triggered, this, &ViewMenu::reloadRequested);
    menu_->addSeparator();

    next_ = menu_->addAction(QStringLiteral("&Nächste Registerkarte"));
    next_->setObjectName(QStringLiteral("NaechsteRegisterkarte1"));
    next_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    applyHint(next_, QStringLiteral("Die nächste Registerkarte zeigen"));
    connect(next_, &QAction::triggered, this, [this] { step(1); });

    previous_ = menu_->addAction(QStringLiteral("&Vorherige Registerkarte"));
    previous_->setObjectName(QStringLiteral("VorherigeRegisterkarte1"));
    // X11 reports Shift+Tab as Backtab; both spellings are registered.
    previous_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                             QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    applyHint(previous_, QStringLiteral("Die vorherige Registerkarte zeigen"));
    connect(previous_, &QAction::triggered, this, [this] { step(-1); });

    menu_->addSeparator();
    sort_ = menu_->addMenu(QStringLiteral("&Sortieren nach"));
    sort_->setObjectName(QStringLiteral("SortierenNach1"));
    sort_->menuAction()->setObjectName(QStringLiteral("Sortieren1"));
    applyHint(sort_->menuAction(),
              QStringLiteral("Die Liste nach einer Spalte sortieren, wie ein Doppelklick auf "
                             "ihre Überschrift"));
    connect(sort_, &QMenu::aboutToShow, this, &ViewMenu::fillSortMenu);

    // The list last worked in: the grid (or its editor) that had the focus last.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (auto* grid = qobject_cast<TAStringGrid*>(w)) {
                if (tabs_->isAncestorOf(grid))
                    lastGrid_ = grid;
                return;
            }
        }
    });
    tabs_->installEventFilter(this);
    updateEnabled();
}

bool ViewMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tabs_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        updateEnabled();
    return QObject::eventFilter(watched, event);
}

void ViewMenu::updateEnabled()
{
    const bool shown = !tabs_->isHidden();
    for (QAction* a : {next_, previous_, sort_->menuAction()})
        a->setEnabled(shown);
}

void ViewMenu::step(int by)
{
    if (tabs_->isHidden())
        return;
    const int current = tabs_->currentIndex();
    tabs_->setCurrentIndex(((current + by) % kWorkTabs + kWorkTabs) % kWorkTabs);
}

TAStringGrid* ViewMenu::sortTarget() const
{
    if (lastGrid_ && lastGrid_->isVisible())
        return lastGrid_;
    return AsListGrid(tabs_->gridOfTab(tabs_->currentIndex()));
}

void ViewMenu::fillSortMenu()
{
    sort_->clear();
    TAStringGrid* grid = sortTarget();
    if (!grid)
        return;
    const QHeaderView* header = grid->horizontalHeader();
    for (int col = TAStringGrid::FixedCols; col < grid->ColCount(); ++col) {
        QString caption = ansiToQString(grid->GetCell(col, 0)).trimmed();
        if (caption.isEmpty())
            continue;
        QAction* a = sort_->addAction(caption);
        if (header->sortIndicatorSection() == col - TAStringGrid::FixedCols) {
            a->setCheckable(true);
            a->setChecked(true);
            a->setText(caption + (header->sortIndicatorOrder() == Qt::AscendingOrder
                                      ? QStringLiteral(" (aufsteigend)")
                                      : QStringLiteral(" (absteigend)")));
        }
        QPointer<TAStringGrid> target(grid);
        connect(a, &QAction::triggered, this, [target, col] {
            if (target)
                target->SortColumn(col, 0);
        });
    }
}

} // namespace kovanta
