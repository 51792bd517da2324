#pragma once

#include "webimport/droppedlink.h"

#include <QObject>

#include <functional>

class QMimeData;
class QWidget;

// Links dropped on a Qt widget, read the way Qt delivers a drag.
namespace kovanta {

// What `mime` holds for LinkOfDrop. Each format is asked for by name (the list of offered
// formats differs between X11 and Wayland); Mozilla link data is UTF-16 when it starts with a
// byte-order mark or has a NUL in byte 0 or 1 (little-endian unless the mark is FE FF), else
// UTF-8. The first local file is read when it is named like a shortcut and is a regular file
// of at most kMaxShortcutSize bytes (a FIFO must not block the drop).
DropContents ReadDropContents(const QMimeData& mime);

// Makes `widget` a drop area for links: a drag is accepted (with the action the desktop
// proposes) only while it holds a link, and a drop hands that link to `dropped` within the drop
// event. Lives as a child of the widget.
class LinkDropArea : public QObject {
public:
    using Handler = std::function<void(const DroppedLink&)>;
    LinkDropArea(QWidget& widget, Handler dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler dropped_;
    bool accepting_ = false; // the drag over the widget holds a link
};

} // namespace kovanta
