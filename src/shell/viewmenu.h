#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kovanta {

class TAStringGrid;
class TabWorkArea;

// The menu "&Ansicht": what the mouse does on the start page, the tool column, the tab bar and
// the column headers, for the keyboard.
//   "&Programmstart" (Ctrl+Return) as the start page's button and "&Neu einlesen" (F5) as the
//   tool column's yellow button; the window does what they ask (startRequested(),
//   reloadRequested()) and enables them when they can act (both start disabled).
//   "Nächste Registerkarte" (Ctrl+Tab, Ctrl+PgDown) and "Vorherige Registerkarte"
//   (Ctrl+Shift+Tab, Ctrl+PgUp) go round the four work tabs; the grids page with PgUp and
//   PgDown, so Ctrl with them is free.
//   "Sortieren nach" lists the captions of the list last worked in (the grid that last had
//   the keyboard focus, while it is shown; otherwise the list the tab is worked from); an item
//   sorts by that column as a double-click on its header does (ascending first, then
//   alternating), and the column sorted last shows its direction here as in its header.
// The tab and sort items are disabled while the tabs are hidden (start page).
//
// Ownership: a child of parent; the menu belongs to bar. tabs must outlive it.
class ViewMenu : public QObject {
    Q_OBJECT
public:
    ViewMenu(TabWorkArea* tabs, QMenuBar* bar, QAction* before, QObject* parent);

    QMenu* menu() const { return menu_; }
    QAction* startAction() const { return start_; }
    QAction* reloadAction() const { return reload_; }
    QMenu* sortMenu() const { return sort_; }
    // The grid "Sortieren nach" offers.
    TAStringGrid* sortTarget() const;

signals:
    void startRequested();
    void reloadRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int by);
    void fillSortMenu();
    void updateEnabled();

    TabWorkArea* tabs_;
    QMenu* menu_ = nullptr;
    QMenu* sort_ = nullptr;
    QAction* start_ = nullptr;
    QAction* reload_ = nullptr;
    QAction* next_ = nullptr;
    QAction* previous_ = nullptr;
    QPointer<TAStringGrid> lastGrid_;
};

} // namespace kovanta
