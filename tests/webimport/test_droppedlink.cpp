#include "support/testdir.h"
#include "webimport/qt/linkdrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

// The rows name only the formats a drag holds; the others stay empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace kovanta;

namespace {

const std::string kUrl = "http://kantine.example/rezepte/r17.htm";
const std::optional<DroppedLink> kRefused;

std::optional<DroppedLink> yields(const std::string& url, const std::string& title)
{
    return DroppedLink{url, title};
}

DropContents shortcut(const std::string& file, const std::string& content)
{
    DropContents d;
    d.files = {"/home/koch/" + file};
    d.shortcut = content;
    return d;
}

QByteArray utf16le(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

} // namespace

TEST(LinkOfDrop, WhichLinkWinsAndWhereItsTitleComesFrom)
{
    struct Case {
        const char* name;
        DropContents drop;
        std::optional<DroppedLink> expected;
    };
    const std::string sel = "Heute: <a href=\"http://k/r2.htm\">Rotkohl &amp; Kl\xC3\xB6\xC3\x9F"
                            "e</a>!";
    const Case cases[] = {
        {"URI list first, title from _NETSCAPE_URL",
         {.links = {"http://a/"},
          .mozUrl = "http://b/\nB",
          .netscapeUrl = "http://c/\nC",
          .html = "<a href=\"http://h/\">H</a>"},
         yields("http://a/", "C")},
        {"text/x-moz-url without trailing NULs and line ends, then _NETSCAPE_URL",
         {.mozUrl = std::string("http://b/\r\nB\r\n\0\0", 16), .netscapeUrl = "http://c/"},
         yields("http://b/", "B")},
        {"_NETSCAPE_URL; title from text/x-moz-url-desc",
         {.netscapeUrl = "http://c/", .mozUrlDesc = "Desc\n"},
         yields("http://c/", "Desc")},
        {"title from moz data when _NETSCAPE_URL has none",
         {.links = {"http://a/"}, .mozUrl = "http://a/\nM", .netscapeUrl = "http://a/\n"},
         yields("http://a/", "M")},
        {"link to a local page with the browser's data",
         {.files = {"/srv/r1.htm"}, .netscapeUrl = "file:///srv/r1.htm\nRotkohl"},
         yields("file:///srv/r1.htm", "Rotkohl")},
        {"Unicode becomes ANSI",
         {.netscapeUrl = "http://k/\nK\xC3\xA4se \xE2\x80\x9E"
                         "a\xE2\x80\x9C \xE2\x82\xAC \xE2\x98\xBA"},
         yields("http://k/", "K\xE4se \x84"
                             "a\x93 \x80 ?")}, // ä „ “ € in CP1252, ☺ has none
        {"a selection with one link",
         {.html = sel, .text = "Heute: Rotkohl"},
         yields("http://k/r2.htm", "Rotkohl & Kl\xF6\xDF"
                                   "e")},
        {"a selection with two links is text",
         {.html = sel + "<a href=\"http://k/r3.htm\">R3</a>", .text = "zwei"},
         yields("zwei", "zwei")},
        {"a relative href is no link",
         {.html = "<a href=\"r1.htm\">R</a>", .text = "t"},
         yields("t", "t")},
        {"anchor text as title: tags, case, quotes, blanks",
         {.links = {"http://a/"},
          .html = "<A class=x HREF='http://a/' title=\"a>b\"><img src=i.png></a> "
                  "<a href=http://a/>\n Gulasch <b>vom</b>&nbsp;Rind <!-- x --></A>"},
         yields("http://a/", "Gulasch vom Rind")},
        {"character references",
         {.html = "<a href=\"http://k/?a=1&amp;b=2\">&#8222;Schw&#xE4;bisch&#8220; &lt;neu&gt; "
                  "&bogus; &#0;</a>"},
         yields("http://k/?a=1&b=2", "\x84Schw\xE4"
                                     "bisch\x93 <neu> &bogus; ?")},
        {"plain text up to a NUL, no title",
         {.text = std::string("http://x/a b\0c", 14)},
         yields("http://x/a b", "http://x/a b")},
        {"the text of a drag of local files",
         {.files = {"/rezepte/a.txt"}, .text = "file:///rezepte/a.txt"},
         kRefused},
        {"nothing but a description", {.mozUrlDesc = "Titel"}, kRefused},
        {"nothing", {}, kRefused},
        {"Internet shortcut", shortcut("Rezept.url", "[InternetShortcut]\r\nURL=" + kUrl + "\r\n"),
         yields(kUrl, "Rezept")},
        {"section name in any case",
         shortcut("GROSS.URL", "[internetshortcut]\nIconIndex=0\nURL=" + kUrl + "\n"),
         yields(kUrl, "GROSS")},
        {"url= in lower case", shortcut("klein.url", "[InternetShortcut]\r\nurl=" + kUrl),
         kRefused},
        {"no section", shortcut("ohne.url", "[Default]\r\nURL=" + kUrl + "\r\n"), kRefused},
        {"section on the last line", shortcut("z.url", "URL=http://x/\r\n[InternetShortcut]"),
         kRefused},
        {"URL= in the next section",
         shortcut("a.url", "[InternetShortcut]\r\n[Andere]\r\nURL=" + kUrl + "\r\n"), kRefused},
        {"the first URL= counts",
         shortcut("zwei.url", "[InternetShortcut]\rURL=http://a/\rURL=http://b/\r"),
         yields("http://a/", "zwei")},
        {"another extension", shortcut("Rezept.txt", "[InternetShortcut]\r\nURL=" + kUrl),
         kRefused},
        {"desktop entry",
         shortcut("g.desktop",
                  "[Desktop Entry]\nType=Link\nName[en]=Goulash\nName=K\xC3\xA4se\nURL=" + kUrl +
                      "\n"),
         yields(kUrl, "K\xE4se")},
        {"desktop entry without Name=",
         shortcut("ohnename.desktop", "[Desktop Entry]\nURL=" + kUrl + "\nType=Link\n"),
         yields(kUrl, "ohnename")},
        {"desktop entry of a program",
         shortcut("p.desktop", "[Desktop Entry]\nType=Application\nName=X\nURL=" + kUrl), kRefused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinkOfDrop(c.drop), c.expected) << c.name;
}

// Drags recorded on X11 (Qt 6.4): Firefox 153 ESR and Chromium 156 dragging a link and a
// selection, the Mozilla encodings Qt may hand over, and files from a file manager.
TEST(ReadDropContents, RecordedDragsAndDroppedFiles)
{
    const QString url = QStringLiteral("http://127.0.0.1:8794/r1.htm");
    const QString title = QStringLiteral("Käsespätzle „Schwäbisch“ & Co");
    const std::string titleAnsi = "K\xE4sesp\xE4tzle \x84Schw\xE4"
                                  "bisch\x93 & Co";
    const QByteArray anchor = (QStringLiteral("<a id=\"l1\" href=\"") + url +
                               QStringLiteral("\">Käsespätzle „Schwäbisch“ &amp; Co</a>"))
                                  .toUtf8();
    const QByteArray meta =
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">";
    TestDir dir;
    const std::string rezept =
        dir.write("Rezept.url", "[InternetShortcut]\r\nURL=" + kUrl + "\r\n");
    const std::string desktop =
        dir.write("g.desktop", "[Desktop Entry]\nType=Link\nName=Gulasch\nURL=" + kUrl + "\n");
    const std::string pipe = dir.dir() + "Rohr.url";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string big = dir.write("gross.url", "[InternetShortcut]\r\nURL=" + kUrl + "\r\n" +
                                                       std::string(kMaxShortcutSize, ' '));

    struct Case {
        const char* name;
        QList<std::pair<const char*, QByteArray>> formats;
        std::optional<DroppedLink> expected;
    };
    const auto file = [](const std::string& path) {
        return QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded();
    };
    const Case cases[] = {
        {"Firefox link",
         {{"text/uri-list", url.toUtf8()},
          {"_NETSCAPE_URL", (url + u'\n' + title).toUtf8()},
          {"text/x-moz-url-data", utf16le(url)},
          {"text/x-moz-url-desc", utf16le(title)},
          {"text/html", meta + anchor},
          {"text/plain", url.toUtf8()}},
         yields(url.toStdString(), titleAnsi)},
        {"Chromium link",
         {{"text/uri-list", url.toUtf8()},
          {"text/plain", url.toUtf8()},
          {"_NETSCAPE_URL", (url + u'\n' + title).toUtf8()},
          {"text/html", anchor}},
         yields(url.toStdString(), titleAnsi)},
        {"Firefox selection with one link",
         {{"text/html", meta + "Heute: <a href=\"http://127.0.0.1:8794/r2.htm\">Rotkohl &amp; "
                               "Klöße</a> im Angebot"},
          {"text/plain", "Heute: Rotkohl & Klöße im Angebot"}},
         yields("http://127.0.0.1:8794/r2.htm", "Rotkohl & Kl\xF6\xDF"
                                                "e")},
        {"text/x-moz-url in UTF-16 without a mark",
         {{"text/x-moz-url", utf16le(url + u'\n' + title)}},
         yields(url.toStdString(), titleAnsi)},
        {"text/x-moz-url in UTF-16BE with a mark",
         {{"text/x-moz-url", QByteArray("\xFE\xFF\0h\0:\0/\0\n\0T\0\r\0\n\0\0", 18)}},
         yields("h:/", "T")},
        {"Internet shortcut file", {{"text/uri-list", file(rezept)}}, yields(kUrl, "Rezept")},
        {"desktop entry file",
         {{"text/uri-list", file(desktop) + "\r\n" + file(rezept)}},
         yields(kUrl, "Gulasch")},
        {"a FIFO is not read", {{"text/uri-list", file(pipe)}}, kRefused},
        {"nor a file too large", {{"text/uri-list", file(big)}}, kRefused},
    };
    for (const Case& c : cases) {
        QMimeData mime;
        for (const auto& [format, bytes] : c.formats)
            mime.setData(QString::fromLatin1(format), bytes);
        EXPECT_EQ(LinkOfDrop(ReadDropContents(mime)), c.expected) << c.name;
    }
}

TEST(LinkDropArea, AcceptsOnlyDragsThatHoldALink)
{
    QWidget widget;
    std::vector<DroppedLink> dropped;
    new LinkDropArea(widget, [&](const DroppedLink& l) { dropped.push_back(l); });
    EXPECT_TRUE(widget.acceptDrops());
    QMimeData link, desc;
    link.setData(QStringLiteral("_NETSCAPE_URL"), QByteArray::fromStdString(kUrl + "\nRotkohl"));
    desc.setData(QStringLiteral("text/x-moz-url-desc"), "Titel");

    const auto send = [&](QDropEvent&& e) {
        e.ignore();
        QApplication::sendEvent(&widget, &e);
        return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
    };
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    const auto drag = [&](const QMimeData& mime, Qt::KeyboardModifiers keys) {
        return std::vector<Qt::DropAction>{
            send(QDragEnterEvent(QPoint(5, 5), all, &mime, Qt::LeftButton, keys)),
            send(QDragMoveEvent(QPoint(6, 6), all, &mime, Qt::LeftButton, keys)),
            send(QDropEvent(QPointF(6, 6), all, &mime, Qt::LeftButton, keys))};
    };
    // The desktop proposes the action from the keys (Qt does so for its own drags as well).
    EXPECT_EQ(drag(link, Qt::ShiftModifier | Qt::ControlModifier),
              std::vector<Qt::DropAction>(3, Qt::LinkAction));
    EXPECT_EQ(drag(desc, Qt::NoModifier), std::vector<Qt::DropAction>(3, Qt::IgnoreAction));
    EXPECT_EQ(dropped, (std::vector<DroppedLink>{{kUrl, "Rotkohl"}}));
}
