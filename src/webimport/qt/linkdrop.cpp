#include "linkdrop.h"

#include "platform/regularfile.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QStringDecoder>
#include <QUrl>
#include <QWidget>

namespace kovanta {
namespace {

std::string mozText(const QByteArray& data)
{
    const bool le = data.startsWith("\xFF\xFE");
    const bool be = data.startsWith("\xFE\xFF");
    if (!le && !be && !data.left(2).contains('\0'))
        return data.toStdString();
    // The decoder drops a leading byte-order mark of its own order.
    QStringDecoder decode(be ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return QString(decode(data)).toStdString();
}

} // namespace

DropContents ReadDropContents(const QMimeData& mime)
{
    DropContents drop;
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile())
            drop.files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        else if (!url.isEmpty())
            drop.links.push_back(url.toEncoded().toStdString());
    }
    drop.mozUrl = mozText(mime.data(QStringLiteral("text/x-moz-url")));
    drop.netscapeUrl = mozText(mime.data(QStringLiteral("_NETSCAPE_URL")));
    drop.mozUrlDesc = mozText(mime.data(QStringLiteral("text/x-moz-url-desc")));
    drop.html = mime.html().toStdString();
    drop.text = mime.text().toStdString();
    if (!drop.files.empty() && IsShortcutFileName(drop.files.front()))
        readRegularFile(drop.files.front(), kMaxShortcutSize, drop.shortcut); // empty on failure
    return drop;
}

LinkDropArea::LinkDropArea(QWidget& widget, Handler dropped)
    : QObject(&widget), dropped_(std::move(dropped))
{
    widget.setAcceptDrops(true);
    widget.installEventFilter(this);
}

bool LinkDropArea::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        std::optional<DroppedLink> link;
        if (event->type() != QEvent::DragMove && e->mimeData())
            link = LinkOfDrop(ReadDropContents(*e->mimeData()));
        if (event->type() == QEvent::DragEnter)
            accepting_ = link.has_value();
        if (event->type() == QEvent::Drop ? link.has_value() : accepting_)
            e->acceptProposedAction();
        else
            e->ignore();
        if (event->type() == QEvent::Drop && link)
            dropped_(*link);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace kovanta
