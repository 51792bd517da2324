#include "support/testdir.h"
#include "webimport/qt/mimedrop.h"
#include "webimport/qt/qtdropwindow.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QListWidget>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kovanta;

namespace {

const QString kUrl = QStringLiteral("http://kantine.example/rezepte/r17.htm");
const QString kTitle = QStringLiteral("K\u00e4sesp\u00e4tzle \u201eSchw\u00e4bisch\u201c");
// The title in ANSI: umlauts and the typographic quotes have CP1252 bytes.
const std::string kTitleAnsi = "K\xE4sesp\xE4tzle \x84Schw\xE4"
                               "bisch\x93";

QByteArray utf16le(const QString& s)
{
    QByteArray out;
    for (const QChar c : s) {
        out += static_cast<char>(c.unicode() & 0xFF);
        out += static_cast<char>(c.unicode() >> 8);
    }
    return out;
}

struct Result {
    bool dropped = false;
    std::string url, title;
};

Result dropMime(const QMimeData& mime)
{
    TDropURLTarget target;
    target.Dragtypes = dtCopy | dtMove | dtLink;
    Result r;
    target.OnDrop = [&](TDropTarget&, TShiftState, TPoint, std::uint32_t&) {
        r.dropped = true;
        r.url = target.URL;
        r.title = target.Title;
    };
    if (target.DragEnter(MapMimeData(mime), 0, {5, 5}, DROPEFFECT_COPY) == DROPEFFECT_NONE)
        return r;
    target.Drop(MapMimeData(mime), 0, {5, 5}, DROPEFFECT_COPY);
    return r;
}

} // namespace

TEST(MozUrlData, DecodesBothEncodings)
{
    EXPECT_EQ(DecodeMozUrlLines(utf16le(kUrl + QStringLiteral("\n") + kTitle)),
              (QStringList{kUrl, kTitle}));
    EXPECT_EQ(DecodeMozUrlLines("\xFF\xFE" + utf16le(kUrl) + QByteArray(2, '\0')),
              QStringList{kUrl});
    QByteArray be("\xFE\xFF");
    for (const QChar c : QStringLiteral("http://a/\n\u00c4"))
        be.append(static_cast<char>(c.unicode() >> 8))
            .append(static_cast<char>(c.unicode() & 0xFF));
    EXPECT_EQ(DecodeMozUrlLines(be),
              (QStringList{QStringLiteral("http://a/"), QStringLiteral("\u00c4")}));
    EXPECT_EQ(DecodeMozUrlLines(
                  (kUrl + QStringLiteral("\r\n") + kTitle + QStringLiteral("\r\n")).toUtf8() +
                  QByteArray(1, '\0')),
              (QStringList{kUrl, kTitle}));
    EXPECT_TRUE(DecodeMozUrlLines(QByteArray()).isEmpty());
    EXPECT_TRUE(DecodeMozUrlLines(QByteArray(4, '\0')).isEmpty());
}

TEST(MimeDrop, BrowserLinkDrags)
{
    struct Case {
        const char* browser;
        QList<std::pair<QString, QByteArray>> formats;
    };
    const QByteArray netscape = (kUrl + QStringLiteral("\n") + kTitle).toUtf8();
    const QByteArray moz = utf16le(kUrl + QStringLiteral("\n") + kTitle);
    const QByteArray uriList = (kUrl + QStringLiteral("\r\n")).toUtf8();
    const Case cases[] = {
        {"Firefox",
         {{QStringLiteral("text/x-moz-url"), moz},
          {QStringLiteral("_NETSCAPE_URL"), netscape},
          {QStringLiteral("text/uri-list"), uriList}}},
        // On X11 Qt shows Firefox's text/x-moz-url as text/uri-list: the title comes from
        // _NETSCAPE_URL.
        {"Firefox on X11",
         {{QStringLiteral("text/uri-list"), uriList},
          {QStringLiteral("_NETSCAPE_URL"), netscape},
          {QStringLiteral("text/plain"), kUrl.toUtf8()}}},
        {"Chromium",
         {{QStringLiteral("_NETSCAPE_URL"), netscape},
          {QStringLiteral("text/x-moz-url"), moz},
          {QStringLiteral("text/plain"), kUrl.toUtf8()}}},
        {"moz-url only", {{QStringLiteral("text/x-moz-url"), moz}}},
        {"link with description",
         {{QStringLiteral("text/uri-list"), uriList},
          {QStringLiteral("text/x-moz-url-desc"), utf16le(kTitle)}}},
    };
    for (const Case& c : cases) {
        QMimeData mime;
        for (const auto& [format, bytes] : c.formats)
            mime.setData(format, bytes);
        const Result r = dropMime(mime);
        EXPECT_TRUE(r.dropped) << c.browser;
        EXPECT_EQ(r.url, kUrl.toStdString()) << c.browser;
        EXPECT_EQ(r.title, kTitleAnsi) << c.browser;
    }
}

// A link to a local page dragged from a browser is a file URL too, but it comes with the
// browser's link data: it stays a link (for the local copy) instead of a dropped file.
TEST(MimeDrop, BrowserLinkToLocalPage)
{
    QMimeData mime;
    mime.setUrls({QUrl(QStringLiteral("file:///srv/rezepte/r1.htm"))});
    mime.setData(QStringLiteral("_NETSCAPE_URL"),
                 QByteArray("file:///srv/rezepte/r1.htm\nRotkohl"));
    const Result r = dropMime(mime);
    EXPECT_TRUE(r.dropped);
    EXPECT_EQ(r.url, "file:///srv/rezepte/r1.htm");
    EXPECT_EQ(r.title, "Rotkohl");
}

TEST(MimeDrop, PlainTextAndDescriptorOnly)
{
    QMimeData text;
    text.setText(kUrl);
    const Result r = dropMime(text);
    EXPECT_TRUE(r.dropped);
    EXPECT_EQ(r.title, r.url); // no title of its own: the import ignores it

    QMimeData descOnly;
    descOnly.setData(QStringLiteral("text/x-moz-url-desc"), utf16le(kTitle));
    const auto map = MapMimeData(descOnly);
    EXPECT_TRUE(map->Has(kFormatDescriptor));
    EXPECT_FALSE(dropMime(descOnly).dropped);
}

TEST(MimeDrop, ShortcutFilesFromTheDesktop)
{
    TestDir dir;
    struct Case {
        const char* file;
        std::string content;
        bool dropped;
        std::string title;
    };
    const Case cases[] = {
        {"Rezept.url", "[InternetShortcut]\r\nURL=" + kUrl.toStdString() + "\r\n", true, "Rezept"},
        {"klein.url", "[InternetShortcut]\r\nurl=" + kUrl.toStdString() + "\r\n", false, ""},
        {"Gulasch.desktop",
         "[Desktop Entry]\nVersion=1.0\nType=Link\nName=Gulasch vom Rind\nName[en]=Beef goulash\n"
         "Icon=text-html\nURL=" +
             kUrl.toStdString() + "\n",
         true, "Gulasch vom Rind"},
        {"Rezept.txt", "[InternetShortcut]\r\nURL=" + kUrl.toStdString() + "\r\n", false, ""},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write(c.file, c.content);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        ASSERT_FALSE(mime.text().isEmpty()); // Qt offers the file URL as text
        const auto map = MapMimeData(mime);
        EXPECT_FALSE(map->Has(kFormatText)) << c.file;
        EXPECT_TRUE(map->Has(kFormatFileDrop)) << c.file;
        const Result r = dropMime(mime);
        EXPECT_EQ(r.dropped, c.dropped) << c.file;
        if (c.dropped) {
            EXPECT_EQ(r.url, kUrl.toStdString()) << c.file;
        }
        EXPECT_EQ(r.title, c.title) << c.file;
    }

    // A FIFO named like a shortcut: reading it as a file would block the drop for ever.
    const std::string pipe = dir.dir() + "Rohr.url";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(pipe))});
    EXPECT_FALSE(MapMimeData(mime)->Has(kFormatFileContents));
    EXPECT_FALSE(dropMime(mime).dropped);
}

TEST(MimeDrop, WindowsFormatNamesAreTakenAsDelivered)
{
    QMimeData mime;
    mime.setData(QStringLiteral("application/x-qt-windows-mime;value=\"UniformResourceLocator\""),
                 QByteArray("http://kantine.example/w.htm\0", 29));
    mime.setData(QStringLiteral("application/x-qt-windows-mime;value=\"FileGroupDescriptor\""),
                 QByteArray::fromStdString(MakeFileGroupDescriptor("Wochenplan KW 12.url")));
    mime.setData(QStringLiteral("_NETSCAPE_URL"), QByteArray("http://anders/\nAnders"));
    const Result r = dropMime(mime);
    EXPECT_EQ(r.url, "http://kantine.example/w.htm");
    EXPECT_EQ(r.title, "Wochenplan KW 12");
}

class DropWidget : public testing::Test {
protected:
    void SetUp() override
    {
        list.setObjectName(QStringLiteral("ListBox1"));
        for (int i = 0; i < 100; ++i)
            list.addItem(QStringLiteral("Rezept %1").arg(i));
        list.resize(200, 120);
        list.show();
        window = new QtDropWindow(&list);
        target.Dragtypes = dtCopy | dtMove | dtLink;
        target.OnDrop = [this](TDropTarget&, TShiftState shift, TPoint, std::uint32_t& effect) {
            drops.push_back({target.URL, target.Title, shift, effect});
        };
        target.Register(*window);
        link.setData(QStringLiteral("_NETSCAPE_URL"),
                     (kUrl + QStringLiteral("\nRotkohl")).toUtf8());
    }

    bool enter(const QMimeData& mime, Qt::KeyboardModifiers mods, Qt::DropAction* action = nullptr,
               QPoint at = QPoint(100, 60))
    {
        QDragEnterEvent e(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime,
                          Qt::LeftButton, mods);
        e.ignore();
        QApplication::sendEvent(&list, &e);
        if (action)
            *action = e.dropAction();
        return e.isAccepted();
    }
    bool drop(const QMimeData& mime, Qt::KeyboardModifiers mods, Qt::DropAction* action = nullptr)
    {
        QDropEvent e(QPointF(100, 60), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime,
                     Qt::LeftButton, mods);
        e.ignore();
        QApplication::sendEvent(&list, &e);
        if (action)
            *action = e.dropAction();
        return e.isAccepted();
    }

    struct Drop {
        std::string url, title;
        TShiftState shift;
        std::uint32_t effect;
    };
    QListWidget list;
    QtDropWindow* window = nullptr;
    TDropURLTarget target;
    QMimeData link;
    std::vector<Drop> drops;
};

TEST_F(DropWidget, DropOnTheWidgetDeliversUrlAndTitle)
{
    EXPECT_TRUE(list.acceptDrops());
    Qt::DropAction action = Qt::IgnoreAction;
    ASSERT_TRUE(enter(link, Qt::NoModifier, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    ASSERT_TRUE(drop(link, Qt::NoModifier, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].url, kUrl.toStdString());
    EXPECT_EQ(drops[0].title, "Rotkohl");

    ASSERT_TRUE(enter(link, Qt::ShiftModifier | Qt::ControlModifier, &action));
    EXPECT_EQ(action, Qt::LinkAction);
    ASSERT_TRUE(drop(link, Qt::ShiftModifier | Qt::ControlModifier, &action));
    EXPECT_EQ(action, Qt::LinkAction);
    EXPECT_EQ(drops.back().shift, unsigned(ssShift | ssCtrl));
    EXPECT_EQ(drops.back().effect, DROPEFFECT_LINK);
    ASSERT_TRUE(enter(link, Qt::ControlModifier, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    ASSERT_TRUE(enter(link, Qt::ShiftModifier, &action));
    EXPECT_EQ(action, Qt::MoveAction);
    QDragLeaveEvent leave;
    QApplication::sendEvent(&list, &leave);
    EXPECT_FALSE(target.Dragging());
}

TEST_F(DropWidget, RefusesDragsWithoutLinkAndRestoresOnUnregister)
{
    QMimeData descOnly;
    descOnly.setData(QStringLiteral("text/x-moz-url-desc"), QByteArray("Titel"));
    EXPECT_FALSE(enter(descOnly, Qt::NoModifier));
    EXPECT_FALSE(drop(descOnly, Qt::NoModifier));
    EXPECT_TRUE(drops.empty());

    target.Unregister();
    EXPECT_FALSE(list.acceptDrops());
    EXPECT_EQ(enter(link, Qt::NoModifier), false);
}

TEST_F(DropWidget, ScrollsWhileHoveringNearTheBottom)
{
    ASSERT_TRUE(list.verticalScrollBar()->isVisible());
    ASSERT_TRUE(enter(link, Qt::NoModifier));
    QDragMoveEvent nearBottom(QPoint(100, list.height() - 2),
                              Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &link,
                              Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&list, &nearBottom);
    EXPECT_TRUE(nearBottom.isAccepted());
    EXPECT_TRUE(window->scrollTimerActive());
    const int before = list.verticalScrollBar()->value();
    target.ScrollTimerTick();
    EXPECT_GT(list.verticalScrollBar()->value(), before);

    QDragMoveEvent middle(QPoint(100, 60), Qt::CopyAction, &link, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&list, &middle);
    EXPECT_FALSE(window->scrollTimerActive());
    drop(link, Qt::NoModifier);
}
