// The import window offscreen: drops as browsers deliver them, the list, the commands, and a
// fetch that paints, shows its progress and stops on Esc.
#include "importtestsupport.h"
#include "net/scriptedserver.h"
#include "pyhttpserver.h"
#include "support/testdir.h"
#include "webimport/window/internetrezeptimport.h"
#include "webimport/window/qtfetchrunner.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

using namespace kovanta;
using importtest::planPage;
using importtest::recipePage;
namespace fs = std::filesystem;

namespace {

// The window with its message boxes, questions and browser calls recorded.
class TestWindow : public TInternetRezeptImport {
public:
    using TInternetRezeptImport::TInternetRezeptImport;
    QStringList messages, questions;
    QList<QUrl> opened;
    bool answerYes = false;

protected:
    void showMessageBox(const QString& text) override { messages << text; }
    bool askQuestion(const QString& text, const QString&) override
    {
        questions << text;
        return answerYes;
    }
    void openUrl(const QUrl& url) override { opened << url; }
};

QByteArray utf16le(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

// Firefox offers the link as UTF-16 text/x-moz-url, as _NETSCAPE_URL and as a URI list.
void firefoxLink(QMimeData& mime, const QString& url, const QString& title)
{
    mime.setData(QStringLiteral("text/x-moz-url"), utf16le(url + QStringLiteral("\n") + title));
    mime.setData(QStringLiteral("_NETSCAPE_URL"), (url + QStringLiteral("\n") + title).toUtf8());
    mime.setData(QStringLiteral("text/uri-list"), (url + QStringLiteral("\r\n")).toUtf8());
}

// Chromium on X11: _NETSCAPE_URL, text/x-moz-url and the URL as plain text.
void chromiumLink(QMimeData& mime, const QString& url, const QString& title)
{
    mime.setData(QStringLiteral("_NETSCAPE_URL"), (url + QStringLiteral("\n") + title).toUtf8());
    mime.setData(QStringLiteral("text/x-moz-url"), utf16le(url + QStringLiteral("\n") + title));
    mime.setData(QStringLiteral("text/plain"), url.toUtf8());
}

class ImportWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir.write("vorrat/REZ0001.DAT", "1\r\n2\r\n3\r\nMilchreis           4\r\n");
        dir.write("vorrat/notiz.txt", "fremd");
        dir.write("vorrat/rez12.tmp", "Rest");
        window = std::make_unique<TestWindow>(nullptr, QString::fromStdString(dir.dir() + "vorrat"));
        window->setImportDir(QString::fromStdString(dir.dir() + "internet/"));
        fs::create_directories(dir.path() / "internet");
        window->setNotifyWindow(
            [this](int kind, bool waitHandled) { notifications.push_back({kind, waitHandled}); });
        window->core().retryDelayMs = 0;
        window->show();
        QCoreApplication::processEvents();
    }

    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    bool shown(const char* name) const { return child<QWidget>(name)->isVisibleTo(window.get()); }
    QStringList listed() const
    {
        QStringList titles;
        for (int i = 0; i < window->listBox()->count(); ++i)
            titles << window->listBox()->item(i)->text();
        return titles;
    }

    // Drags `mime` onto the window and drops it; drop() then waits until the import has
    // settled.
    void sendDrop(const QMimeData& mime)
    {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(QPoint(100, 100), actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(QPointF(100, 100), actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
    }
    void drop(const QMimeData& mime)
    {
        sendDrop(mime);
        settle();
    }
    void settle()
    {
        // The drop runs after its event; each fetched file is processed by a queued message.
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return !window->core().busy() && !window->core().hasPendingImportFiles();
            }));
        }
    }
    void dropLocal(const std::string& name, const std::string& title)
    {
        dir.write("seiten/" + name, recipePage(title));
        QMimeData mime;
        firefoxLink(mime, QString::fromStdString("file://" + dir.dir() + "seiten/" + name),
                    QString::fromStdString(title));
        drop(mime);
    }

    TestDir dir;
    std::unique_ptr<TestWindow> window;
    std::vector<std::pair<int, bool>> notifications;
};

} // namespace

TEST_F(ImportWindowTest, CreationListsTheDefaultDirectoryAndShowsTheControls)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Internet "));
    EXPECT_EQ(window->objectName(), QStringLiteral("InternetRezeptImport"));
    EXPECT_EQ(window->size(), QSize(200, 200));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Milchreis")});
    EXPECT_TRUE(fs::exists(dir.path() / "vorrat/notiz.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "vorrat/rez12.tmp"));
    EXPECT_TRUE(shown("ListBox1"));
    EXPECT_FALSE(shown("Panel1"));
    EXPECT_EQ(window->statusText(), QStringLiteral("Drag&Drop Internetrezepten"));
    EXPECT_EQ(window->importDir(), QString::fromStdString(dir.dir() + "internet/"));

    EXPECT_EQ(child<QLabel>("mUrlLabel1")->text(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(child<QLabel>("mUrlLabel2")->toolTip(), QStringLiteral("Internet Drop Fenster schließen"));
    EXPECT_EQ(child<QLabel>("Label1")->text(), QStringLiteral("Hier finden Sie ONLINE Rezepte..."));
    EXPECT_EQ(child<QWidget>("Panel2")->height(), 44);
    QStringList menu;
    for (QAction* a : child<QMenu>("PopupMenu1")->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(menu, (QStringList{QStringLiteral("Übernehmen"), QStringLiteral("-"),
                                 QStringLiteral("Alles auswählen"), QStringLiteral("-"),
                                 QStringLiteral("Löschen"), QStringLiteral("Alles löschen..."),
                                 QStringLiteral("-"), QStringLiteral("Schließen")}));
    EXPECT_EQ(child<QAction>("Allesauswaehlen1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(child<QAction>("Uebernehmen1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));

    // A fresh default directory is made; the window starts with its hint panel.
    TestWindow empty(nullptr, QString::fromStdString(dir.dir() + "neu/kovanta"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "neu/kovanta"));
    EXPECT_TRUE(empty.findChild<QWidget*>(QStringLiteral("Panel1"))->isVisibleTo(&empty));
    EXPECT_FALSE(empty.listBox()->isVisibleTo(&empty));
    EXPECT_EQ(empty.pos(), QPoint(10, 15));
}

TEST_F(ImportWindowTest, ADefaultDirectoryNotPrivatelyOursIsNeitherListedNorCleaned)
{
    // A link planted under the default name, and a directory anybody may write: both are left
    // exactly as they are.
    dir.write("fremd/REZ0001.DAT", "1\r\n2\r\n3\r\nFremdes Rezept\r\n");
    dir.write("fremd/rez1.tmp", "x");
    fs::create_directory_symlink(dir.path() / "fremd", dir.path() / "link");
    TestWindow viaLink(nullptr, QString::fromStdString(dir.dir() + "link"));
    EXPECT_EQ(viaLink.listBox()->count(), 0);
    EXPECT_TRUE(fs::exists(dir.path() / "fremd/rez1.tmp"));

    fs::permissions(dir.path() / "fremd", fs::perms::all);
    TestWindow open(nullptr, QString::fromStdString(dir.dir() + "fremd"));
    EXPECT_EQ(open.listBox()->count(), 0);
    EXPECT_TRUE(fs::exists(dir.path() / "fremd/rez1.tmp"));

    fs::permissions(dir.path() / "fremd", fs::perms::owner_all);
    TestWindow own(nullptr, QString::fromStdString(dir.dir() + "fremd"));
    EXPECT_EQ(own.listBox()->count(), 1);
    EXPECT_FALSE(fs::exists(dir.path() / "fremd/rez1.tmp"));
}

TEST_F(ImportWindowTest, BrowserDropsReachTheImportAndPlainTextIsIgnored)
{
    PyHttpServer server;
    ASSERT_NE(server.port(), 0);
    server.put("plan/r1.htm", recipePage("Gulasch"));
    server.put("plan/r2.htm", recipePage("Rotkohl"));
    server.put("plan/kw50.htm", planPage({"r1.htm Gulasch vom Rind", "r2.htm Rotkohl"}));

    QMimeData chromium;
    chromiumLink(chromium, QString::fromStdString(server.url("/plan/kw50.htm")),
                 QStringLiteral("Speiseplan"));
    drop(chromium);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Milchreis"),
                                     QStringLiteral("Gulasch vom Rind"), QStringLiteral("Rotkohl")}));
    EXPECT_EQ(window->statusText(), QStringLiteral("Drag&Drop Internetrezepten"));
    EXPECT_TRUE(window->messages.isEmpty()) << window->messages.join(u'|').toStdString();
    EXPECT_EQ(notifications.size(), 3u) << "kind 0 after each processed file";

    // Firefox sends local links escaped; the escaped blank is decoded.
    dir.write("seiten/Kaese Spaetzle.htm", recipePage("Kaese"));
    QMimeData blank;
    firefoxLink(blank, QString::fromStdString("file://" + dir.dir() + "seiten/Kaese%20Spaetzle.htm"),
                QStringLiteral("Käse &amp; Spätzle"));
    drop(blank);
    EXPECT_EQ(listed().last(), QStringLiteral("Käse &amp; Spätzle")) << "titles as delivered";

    // Link files from the desktop: the title is the .url file's name, or a .desktop entry's Name=.
    dir.write("seiten/Bohnen.htm", recipePage("Bohnen"));
    dir.write("seiten/Eintopf.htm", recipePage("Eintopf"));
    const std::string seiten = "file://" + dir.dir() + "seiten/";
    const std::string urlFile =
        dir.write("Bohneneintopf.url", "[InternetShortcut]\r\nURL=" + seiten + "Bohnen.htm\r\n");
    const std::string desktopFile = dir.write(
        "eintopf.desktop", "[Desktop Entry]\nType=Link\nName=Eintopf\nURL=" + seiten + "Eintopf.htm\n");
    for (const std::string& shortcut : {urlFile, desktopFile}) {
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(QString::fromStdString(shortcut))});
        drop(file);
    }
    EXPECT_EQ(listed().mid(4), (QStringList{QStringLiteral("Bohneneintopf"), QStringLiteral("Eintopf")}));

    QMimeData text;
    text.setText(QString::fromStdString(server.url("/plan/r1.htm")));
    const int before = static_cast<int>(server.requests().size());
    drop(text);
    EXPECT_EQ(listed().size(), 6);
    EXPECT_EQ(static_cast<int>(server.requests().size()), before);
}

TEST_F(ImportWindowTest, DeleteAcceptAndTheHintPanel)
{
    for (const char* name : {"Eins", "Zwei", "Drei", "Vier"})
        dropLocal(std::string(name) + ".htm", name);
    ASSERT_EQ(listed().size(), 5);
    std::vector<std::string> files;
    for (std::size_t i = 0; i < 5; ++i)
        files.push_back(window->core().line(i).FileName);

    // Übernehmen with nothing selected selects all and reports each line, then asks to close.
    notifications.clear();
    child<QAction>("Uebernehmen1")->trigger();
    EXPECT_EQ(window->listBox()->selectedItems().size(), 5);
    EXPECT_EQ(notifications, (std::vector<std::pair<int, bool>>{
                                 {0, true}, {1, true}, {1, true}, {1, true}, {1, true}, {1, true},
                                 {9, false}}));

    window->listBox()->clearSelection();
    for (int row : {0, 2, 4})
        window->listBox()->item(row)->setSelected(true);
    notifications.clear();
    child<QAction>("Loeschen1")->trigger();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Eins"), QStringLiteral("Drei")}));
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(fs::exists(files[i]), i == 1 || i == 3) << i;
    EXPECT_EQ(notifications, (std::vector<std::pair<int, bool>>{{0, false}}));
    EXPECT_TRUE(shown("ListBox1"));

    child<QAction>("Allesloeschen1")->trigger();
    EXPECT_EQ(window->questions,
              QStringList{QStringLiteral("Möchten Sie alle Importdaten aus der Zwischenablage löschen")});
    EXPECT_EQ(listed().size(), 2);
    window->answerYes = true;
    child<QAction>("Allesloeschen1")->trigger();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(fs::exists(files[1]) || fs::exists(files[3]));
    EXPECT_TRUE(shown("Panel1"));
    EXPECT_FALSE(shown("ListBox1"));
    EXPECT_EQ(notifications, (std::vector<std::pair<int, bool>>{{0, false}, {0, false}, {0, false}}));

    // Without a window to notify, Übernehmen only selects.
    dropLocal("Fuenf.htm", "F\xC3\xBCnf");
    window->setNotifyWindow({});
    notifications.clear();
    window->acceptSelected();
    EXPECT_EQ(window->listBox()->selectedItems().size(), 1);
    EXPECT_TRUE(notifications.empty());
    window->answerYes = true;
    window->deleteAll();
    window->setNotifyWindow(
        [this](int kind, bool waitHandled) { notifications.push_back({kind, waitHandled}); });

    // The hint panel: double-click asks to close, the link opens the online recipes.
    notifications.clear();
    QTest::mouseDClick(child<QWidget>("Panel1"), Qt::LeftButton);
    EXPECT_EQ(notifications, (std::vector<std::pair<int, bool>>{{9, false}}));
    QTest::mouseClick(child<QWidget>("mUrlLabel3"), Qt::LeftButton);
    QTest::mouseClick(child<QWidget>("Image2"), Qt::LeftButton);
    EXPECT_EQ(window->opened, (QList<QUrl>{QUrl(QStringLiteral("http://www.vemosoft.example/rezepte/")),
                                           QUrl(QStringLiteral("http://www.vemosoft.example/rezepte/"))}));
}

TEST_F(ImportWindowTest, FetchShowsProgressStopsOnEscAndQueuesDrops)
{
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
    const std::string page = recipePage("Langsam");
    const auto quiet = [](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); };
    ScriptedServer slow({ScriptedServer::answer(head),
                         [&](ScriptedServer& s, int fd, const std::string&) {
                             s.sendAll(fd, head + page.substr(0, 100));
                             std::this_thread::sleep_for(std::chrono::milliseconds(300));
                             s.sendAll(fd, page.substr(100));
                         },
                         quiet, quiet, quiet});
    const std::string noContent = "HTTP/1.0 204 No Content\r\n\r\n";
    ScriptedServer empty({ScriptedServer::answer(noContent), ScriptedServer::answer(noContent)});
    QStringList statuses;
    QObject::connect(child<QStatusBar>("StatusBar1"), &QStatusBar::messageChanged,
                     [&](const QString& m) { statuses << m; });
    const QString server = QStringLiteral("http://127.0.0.1:%1/").arg(slow.port());
    QMimeData link, other, pausing, second;
    firefoxLink(link, server + QStringLiteral("r.htm"), QStringLiteral("Langsam"));
    firefoxLink(other, server + QStringLiteral("anderes.htm"), QStringLiteral("Langsam"));
    firefoxLink(pausing, QStringLiteral("http://127.0.0.1:%1/leer.htm").arg(empty.port()),
                QStringLiteral("Leer"));
    dir.write("seiten/Zweiter.htm", recipePage("Zweiter"));
    firefoxLink(second, QString::fromStdString("file://" + dir.dir() + "seiten/Zweiter.htm"),
                QStringLiteral("Zweiter"));
    auto* runner = window->findChild<QtFetchRunner*>();
    ASSERT_NE(runner, nullptr);
    // `call` once the `number`-th fetch or pause from now has begun and `ready` holds.
    const auto onStart = [&](int number, std::function<bool()> ready, std::function<void()> call) {
        auto starts = std::make_shared<int>(0);
        return QObject::connect(runner, &QtFetchRunner::runningChanged, window.get(),
                                [this, starts, number, ready, call](bool running) {
                                    if (!running || ++*starts != number)
                                        return;
                                    auto* poll = new QTimer(window.get());
                                    QObject::connect(poll, &QTimer::timeout, [poll, ready, call] {
                                        if (!ready())
                                            return;
                                        poll->stop();
                                        poll->deleteLater();
                                        call();
                                    });
                                    poll->start(5);
                                });
    };
    const auto always = [] { return true; };
    QWidget browser; // a drop makes the window active: Esc must reach it, not the browser
    browser.show();
    browser.activateWindow();
    // A link dropped while another is fetched waits its turn.
    QMetaObject::Connection started = onStart(1, always, [&] { sendDrop(second); });
    drop(link);
    QObject::disconnect(started);
    EXPECT_EQ(listed().mid(1), (QStringList{QStringLiteral("Langsam"), QStringLiteral("Zweiter")}));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Daten einlesen... 100 Bytes"))) << statuses.join(u'|').toStdString();
    EXPECT_TRUE(window->isActiveWindow());

    // The next fetches meet a silent server, or pause before another attempt: Esc,
    // "Abbrechen" and closing the window (as the program's end does) each end one as a failed
    // fetch, without a message and without another attempt.
    auto* cancel = child<QPushButton>("AbbrechenButton");
    window->core().retryDelayMs = 60000;
    const auto esc = [&] {
        EXPECT_TRUE(cancel->isVisible());
        QTest::keyClick(window.get(), Qt::Key_Escape);
    };
    const struct {
        const QMimeData* link;
        ScriptedServer* server;
        int start; // the fetch, or (2) the pause after it
        std::function<void()> stop;
    } stops[] = {
        {&other, &slow, 1, esc},
        {&other, &slow, 1, [&] { QTest::mouseClick(cancel, Qt::LeftButton); }},
        {&pausing, &empty, 2, esc},
        {&other, &slow, 1, [&] { window->close(); }},
    };
    for (const auto& stop : stops) {
        // Each acts while its fetch waits for the server (which has the request).
        const std::size_t asked = stop.server->requests().size();
        ScriptedServer* asks = stop.server;
        started = onStart(stop.start, [asks, asked] { return asks->requests().size() > asked; },
                          stop.stop);
        drop(*stop.link);
        QObject::disconnect(started);
        EXPECT_EQ(listed().size(), 3);
        EXPECT_FALSE(cancel->isVisibleTo(window.get()));
        EXPECT_TRUE(window->messages.isEmpty()) << window->messages.join(u'|').toStdString();
        EXPECT_EQ(window->statusText(), QStringLiteral("Drag&Drop Internetrezepten"));
    }
    EXPECT_EQ(slow.requests().size(), 5u);
    EXPECT_EQ(empty.requests().size(), 2u);
}
