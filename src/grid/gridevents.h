#pragma once

#include <QEvent>

namespace kovanta {

// The grid's and editor's deferred work items, posted to the grid or its editor and run after
// the current input event, first in first out.
enum class GridItem : int {
    AG_ENTER_AS_TAB = QEvent::User + 101,
    AG_SYNC_CELL = QEvent::User + 102,
    AG_SET_EDITORMODE = QEvent::User + 103,
    AG_EXIT_CELL = QEvent::User + 104,
    AG_SET_COL = QEvent::User + 105,
    AG_LEAVE_ROW = QEvent::User + 106,
    AG_ROW_HEIGHT = QEvent::User + 108,
    AG_SELECT_TO_END = QEvent::User + 110,
};

// One queued item with its two values (wParam, lParam in the original message form).
class GridItemEvent : public QEvent {
public:
    GridItemEvent(GridItem item, int v1 = 0, int v2 = 0)
        : QEvent(static_cast<QEvent::Type>(item)), value1(v1), value2(v2)
    {}
    GridItem item() const { return static_cast<GridItem>(type()); }
    const int value1;
    const int value2;
};

inline bool isGridItem(const QEvent* e)
{
    const int t = e->type();
    return t >= QEvent::User + 101 && t <= QEvent::User + 110;
}

} // namespace kovanta
