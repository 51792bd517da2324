#pragma once

#include <QCoreApplication>
#include <QEvent>

namespace kovanta {

// The grid's and editor's deferred work items, posted to the grid or its editor and run after
// the current input event, first in first out.
enum class GridItem : int {
    AG_ENTER_AS_TAB = 101,
    AG_SYNC_CELL = 102,
    AG_SET_EDITORMODE = 103,
    AG_EXIT_CELL = 104,
    AG_SET_COL = 105,
    AG_LEAVE_ROW = 106,
    AG_ROW_HEIGHT = 108,
    AG_SELECT_TO_END = 110,
};

// The one event type all items travel as, registered with Qt so that no other custom event
// of the program can take it.
inline QEvent::Type gridItemEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// One queued item with its two values (wParam, lParam in the original message form).
class GridItemEvent : public QEvent {
public:
    GridItemEvent(GridItem item, int v1 = 0, int v2 = 0)
        : QEvent(gridItemEventType()), value1(v1), value2(v2), item_(item)
    {}
    GridItem item() const { return item_; }
    const int value1;
    const int value2;

private:
    const GridItem item_;
};

inline bool isGridItem(const QEvent* e)
{
    return e->type() == gridItemEventType();
}

// Posts an item to the grid or its editor.
inline void postGridItem(QObject* target, GridItem item, int v1 = 0, int v2 = 0)
{
    QCoreApplication::postEvent(target, new GridItemEvent(item, v1, v2));
}

} // namespace kovanta
