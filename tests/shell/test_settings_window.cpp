// The settings, the search paths and the scan as the user meets them in the main window:
// start, change, close, start again.
#include "dialogs/dirtree.h"
#include "dialogs/durchsuchen.h"
#include "dialogs/pfaddatendefinition.h"
#include "platform/qt/settingsstore.h"
#include "recipefixtures.h"
#include "shell/mainactions.h"
#include "app/searchpaths.h"
#include "shell/settings.h"
#include "support/mainwindowdriver.h"
#include "views/recipelistmodel.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sys/stat.h>

using namespace kovanta;

namespace {

std::string readAll(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs f on the next modal dialog once it is up. Queued twice, so that it runs after the
// steps the dialog queues for itself when shown (the browser's tree fill).
void whenModal(std::function<void(QWidget*)> f)
{
    QTimer::singleShot(0, [f] {
        QTimer::singleShot(0, [f] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            f(modal);
        });
    });
}

// Sets an environment variable for one test and puts the old state back afterwards.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const std::string& value)
        : name_(name), old_(qgetenv(name)), wasSet_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~EnvironmentOverride()
    {
        if (wasSet_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    QByteArray old_;
    bool wasSet_;
};

class SettingsWindow : public window_test::MainWindowDriver {
protected:
    TestDir home; // settings store and recipe directories
    TestDir& prog = dir; // program directory
    std::string kantine = home.dir() + "kantine/";
    std::string diaet = home.dir() + "diaet/";

    void SetUp() override
    {
        SettingsStore::setDefaultFileName(QString::fromStdString(home.dir() + "registry.conf"));
        prog.write("REZ00001.DAT", shelltest::singleRecipeFile({"Gulasch", "Fleisch"}));
        home.write("kantine/REZ00010.DAT", shelltest::singleRecipeFile({"Linsen", "Suppen"}));
        home.write("diaet/rez00011.dat", shelltest::singleRecipeFile({"Reis", "Beilagen"}));
    }
    void TearDown() override
    {
        window.reset();
        SettingsStore::setDefaultFileName(QString());
    }

    std::string ini() const { return prog.dir() + "kovanta.INI"; }

    // The program started as its main() does it.
    void launch(const kovanta::ShellOptions& o)
    {
        window = std::make_unique<TSDIAppForm>(o);
        window->showInitially();
        QCoreApplication::processEvents(); // MSG_RESTORE_PANELS
        QCoreApplication::processEvents(); // the layout settled: resizes are the user's now
    }
    void launch() { launch(options(window_test::kNever)); }
    void reload()
    {
        postWindowMessage(window.get(), MSG_RELOAD_RECIPES);
        QCoreApplication::processEvents();
        waitForRead();
    }
    void stop()
    {
        window->close();
        window.reset();
    }
    std::vector<std::string> listedFiles() const
    {
        std::vector<std::string> files;
        for (const auto& e : window->recipeList()->entries())
            files.push_back(e->FileName);
        return files;
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    // "Verzeichnisse" in w: row unticked (-1: none), closed with button (BitBtn2 cancels).
    static void directories(TSDIAppForm& w, int row, const char* button = "BitBtn1")
    {
        whenModal([row, button](QWidget* modal) {
            if (row >= 0)
                modal->findChild<QListWidget*>()->item(row)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(modal->findChild<QPushButton*>(QString::fromLatin1(button)),
                              Qt::LeftButton);
        });
        w.findChild<QAction*>(QStringLiteral("Verzeichnisse1"))->trigger();
    }
    // Runs f and answers the settings message it brings up; returns the message's text.
    static QString settingsMessage(const std::function<void()>& f)
    {
        QString text;
        whenModal([&text](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), QStringLiteral("SettingsNotSaved"));
            text = static_cast<QMessageBox*>(modal)->text();
            static_cast<QMessageBox*>(modal)->accept();
        });
        f();
        return text;
    }
    QString stored(const char* key, const char* name) const
    {
        SettingsStore store;
        return store.readString(QString::fromLatin1(key), QString::fromLatin1(name),
                                QStringLiteral("<none>"));
    }
};

} // namespace

TEST_F(SettingsWindow, FirstStartWithNothingStored)
{
    launch();
    EXPECT_TRUE(action("Zeilenfinder1")->isChecked());
    EXPECT_TRUE(action("MaximaleFenstergroesse1")->isChecked());
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    for (const SidePanel p : {SidePanel::Preview, SidePanel::MenuPlan, SidePanel::Requirements})
        EXPECT_FALSE(window->tabs()->sidePanelWidthSet(p)) << "each fits what it shows";
    EXPECT_TRUE(window->searchPaths().empty());
    reload();
    EXPECT_EQ(listedFiles(), std::vector<std::string>{prog.dir() + "REZ00001.DAT"})
        << "the program directory is searched while it is not listed";

    stop();
    EXPECT_FALSE(std::filesystem::exists(ini())) << "no change of the search paths, no INI";
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "Zeilenfinder"), QStringLiteral("<none>"));
}

TEST_F(SettingsWindow, ActiveDirectoriesAreReadInListOrder)
{
    prog.write("kovanta.INI", "; Suchpfade der Kantine\r\n[SuchPfade]\r\n2=1" + diaet + "\r\n1=0" +
                                  kantine + "\r\n3=1" + prog.dir() + "\r\n");
    launch();
    reload();
    EXPECT_EQ(listedFiles(),
              (std::vector<std::string>{diaet + "rez00011.dat", prog.dir() + "REZ00001.DAT"}));
}

TEST_F(SettingsWindow, RemovingADirectoryIsStoredOnCloseAndStaysRemoved)
{
    prog.write("kovanta.INI", "[Server]\r\nName=vemo\r\n[SuchPfade]\r\n1=1" + kantine + "\r\n2=1" +
                                  diaet + "\r\n");
    launch();
    whenModal([](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(0);
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn3")),
                          Qt::LeftButton);
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("HemisphereButton2")),
                      Qt::LeftButton);
    QCoreApplication::processEvents(); // the posted re-read
    waitForRead();
    EXPECT_EQ(listedFiles(),
              (std::vector<std::string>{prog.dir() + "REZ00001.DAT", diaet + "rez00011.dat"}));
    stop();

    EXPECT_EQ(readAll(ini()), "[Server]\r\nName=vemo\r\n[SuchPfade]\r\n1=1" + diaet + "\r\n2=0" +
                                  prog.dir() + "internet/\r\n");
    launch();
    EXPECT_FALSE(window->searchPaths().contains(kantine));
    EXPECT_EQ(window->searchPaths().size(), 2u);
}

TEST_F(SettingsWindow, RowFinderAloneIsNotStoredMaxWindowIsAtOnce)
{
    {
        SettingsStore store;
        settings::writeCloseSwitches(store, true, true);
    }
    launch();
    action("Zeilenfinder1")->trigger();
    EXPECT_FALSE(window->mainActions().rowFinder());
    action("MaximaleFenstergroesse1")->trigger();
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "MaxWindow"), QStringLiteral("0"));
    stop();
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "Zeilenfinder"), QStringLiteral("1"));

    // With a change of the search paths the row finder is stored as well.
    launch();
    EXPECT_FALSE(action("MaximaleFenstergroesse1")->isChecked());
    action("Zeilenfinder1")->trigger();
    // A cancelled "Verzeichnisse" still lists the web recipe directory: a change.
    directories(*window, -1, "BitBtn2");
    stop();
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "Zeilenfinder"), QStringLiteral("0"));
}

TEST_F(SettingsWindow, OpenAddsADirectoryInactive)
{
    launch();
    whenModal([this](QWidget* modal) {
        auto* browser = qobject_cast<TDurchSuchen*>(modal);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->windowTitle(), QStringLiteral("Rezeptdatenpfad hinzuf\u00fcgen"));
        auto* ok = browser->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
        browser->tree()->SelectPath(QString::fromStdString(home.dir()));
        EXPECT_FALSE(ok->isEnabled()) << "no REZ0*.DAT here";
        browser->tree()->SelectPath(QString::fromStdString(kantine));
        ASSERT_TRUE(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    action("Oeffnen1")->trigger();
    EXPECT_EQ(window->searchPaths().entries(), (std::vector<SearchPath>{{kantine, false}}));
    EXPECT_EQ(window->mainActions().lastAddedDirectory().toStdString(), kantine);
    reload();
    EXPECT_EQ(listedFiles(), std::vector<std::string>{prog.dir() + "REZ00001.DAT"})
        << "an added directory is not searched until ticked";

    whenModal([](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                          Qt::LeftButton);
    });
    action("Oeffnen1")->trigger();
    EXPECT_EQ(window->searchPaths().size(), 1u) << "cancelled: nothing changes";
    stop();
    EXPECT_EQ(readAll(ini()), "[SuchPfade]\n1=0" + kantine + "\n") << "saved on close";
}

// The web recipe directory was listed unticked in an earlier session (as "Verzeichnisse" lists
// it). An import ticks it, and that is saved: after a restart the imported recipes are listed.
TEST_F(SettingsWindow, ImportedRecipesAreStillListedAfterARestart)
{
    const std::string web = prog.dir() + "internet/";
    prog.write("kovanta.INI", "[SuchPfade]\n1=1" + kantine + "\n2=0" + web + "\n");
    launch();
    prog.write("internet/rez1a.dat", shelltest::singleRecipeFile({"Web", "Internet"}));
    postWindowMessage(window.get(), MSG_IMPORT_NOTIFY, 1);
    QCoreApplication::processEvents(); // the notice posts the reload
    QCoreApplication::processEvents(); // which starts the read
    waitForRead();
    stop();
    EXPECT_EQ(readAll(ini()), "[SuchPfade]\n1=1" + kantine + "\n2=1" + web + "\n");

    launch();
    reload();
    EXPECT_EQ(listedFiles(), (std::vector<std::string>{
                                 prog.dir() + "REZ00001.DAT", kantine + "REZ00010.DAT",
                                 web + "rez1a.dat"}));
}

// Two instances on one INI file, each unticking another directory: the second to close keeps
// the first one's change.
TEST_F(SettingsWindow, TwoInstancesKeepEachOthersSearchPathChanges)
{
    prog.write("kovanta.INI", "[SuchPfade]\n1=1" + kantine + "\n2=1" + diaet + "\n");
    launch();
    std::unique_ptr<TSDIAppForm> first = std::move(window);
    launch();
    directories(*first, 0);
    directories(*window, 1);
    first->close();
    first.reset();
    stop();
    EXPECT_EQ(readAll(ini()), "[SuchPfade]\n1=0" + kantine + "\n2=0" + diaet + "\n3=0" +
                                  prog.dir() + "internet/\n");
}

// Settings that cannot be written are reported, with the file and the reason; the old file
// stays whole and the window closes all the same.
TEST_F(SettingsWindow, FailedSavesAreReportedAndKeepTheOldFile)
{
    namespace fs = std::filesystem;
    home.write("blockiert", "a file where the store's directory would be");
    const QString store = QString::fromStdString(home.dir() + "blockiert/registry.conf");
    SettingsStore::setDefaultFileName(store);
    // The temporary file beside a target with so long a name would exceed the name limit.
    const std::string longName = std::string(245, 'k') + ".INI";
    const std::string old = "[SuchPfade]\n1=1" + kantine + "\n";
    prog.write(longName, old);
    fs::create_symlink(longName, ini());
    launch();

    const QString storeProblem =
        store + QStringLiteral(" kann nicht geschrieben werden (ein Teil des Pfades ist kein "
                               "Verzeichnis)");
    QString text = settingsMessage([&] { action("MaximaleFenstergroesse1")->trigger(); });
    EXPECT_TRUE(text.contains(QStringLiteral("Fenstergröße“ konnte nicht gespeichert werden:\n\n") +
                              storeProblem))
        << text.toStdString();

    directories(*window, 0);
    text = settingsMessage([&] { EXPECT_TRUE(window->close()); });
    EXPECT_TRUE(text.contains(storeProblem + QLatin1Char('\n') + QString::fromStdString(ini()) +
                              QStringLiteral(" kann nicht geschrieben werden (Name zu lang)")))
        << text.toStdString();
    window.reset();
    EXPECT_EQ(readAll(ini()), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(prog.path()), fs::directory_iterator()), 4)
        << "REZ00001.DAT, internet/, the INI and its link: no temporary file left";
}

TEST_F(SettingsWindow, SidePanelWidthsSurviveARestart)
{
    launch();
    emit window->tabs()->sidePanelResized(SidePanel::MenuPlan, 321);
    emit window->tabs()->sidePanelResized(SidePanel::Requirements, 999);
    stop();
    launch();
    EXPECT_EQ(window->tabs()->sidePanelWidth(SidePanel::MenuPlan), 321);
    EXPECT_EQ(window->tabs()->sidePanelWidth(SidePanel::Requirements), 400) << "at most 400";
    EXPECT_FALSE(window->tabs()->sidePanelWidthSet(SidePanel::Preview));
}

// A kovanta.INI the program cannot use (a directory, a FIFO) no longer ends or blocks the first
// show: it counts as missing, a lasting note in the status bar says so, and closing does not
// replace it but says why.
TEST_F(SettingsWindow, UnusableIniIsTreatedAsMissingWithALastingNote)
{
    namespace fs = std::filesystem;
    fs::create_directories(ini());
    prog.write("kovanta.INI/drin", "bleibt");
    launch();
    EXPECT_TRUE(window->searchPaths().empty());
    const auto note = [&] {
        const auto* label = window->statusBar()->findChild<QLabel*>(QStringLiteral("SettingsNote"));
        return label && label->isVisible() ? label->text() : QStringLiteral("<no note>");
    };
    // The start page's hints and the end of a read replace the status bar's message.
    QStatusTipEvent tip(QStringLiteral("Kurzanleitung"));
    QCoreApplication::sendEvent(window.get(), &tip);
    reload();
    EXPECT_TRUE(
        note().contains(QStringLiteral("kovanta.INI ist ein Verzeichnis – Suchpfade nicht geladen")))
        << note().toStdString();
    EXPECT_EQ(listedFiles(), std::vector<std::string>{prog.dir() + "REZ00001.DAT"});
    directories(*window, -1, "BitBtn2"); // lists the web recipe directory: a change to save
    EXPECT_TRUE(settingsMessage([&] { stop(); })
                    .contains(QString::fromStdString(ini()) + QStringLiteral(" ist ein Verzeichnis")));
    EXPECT_TRUE(fs::is_directory(ini()));
    EXPECT_TRUE(fs::exists(prog.path() / "kovanta.INI" / "drin"));

    fs::remove_all(ini());
    ASSERT_EQ(::mkfifo(ini().c_str(), 0600), 0);
    launch(); // would wait for a writer for ever if the FIFO were opened as a file
    EXPECT_TRUE(window->searchPaths().empty());
    EXPECT_TRUE(note().contains(QStringLiteral("kovanta.INI ist keine normale Datei")));
    stop();
    EXPECT_TRUE(fs::is_fifo(ini()));
}

// An installed program (share/kovanta beside its bin directory) keeps the INI file and the web
// recipes per user, starts with the installed samples and writes nothing next to itself.
TEST_F(SettingsWindow, InstalledProgramKeepsItsFilesPerUser)
{
    const std::string bin = home.dir() + "usr/bin/";
    const std::string samples = home.dir() + "usr/share/kovanta/samples/";
    home.write("usr/share/kovanta/samples/REZ01001.DAT",
               shelltest::singleRecipeFile({"Probe", "Muster"}));
    std::filesystem::create_directories(bin);
    const EnvironmentOverride config("XDG_CONFIG_HOME", home.dir() + "config");
    const EnvironmentOverride data("XDG_DATA_HOME", home.dir() + "data");

    ShellOptions installed = options(window_test::kNever);
    installed.programDirectory = QString::fromStdString(bin);
    launch(installed);
    EXPECT_EQ(window->webRecipeDirectory().toStdString(), home.dir() + "data/Kovanta/internet/");
    EXPECT_TRUE(std::filesystem::is_directory(home.dir() + "data/Kovanta/internet/"));
    EXPECT_EQ(window->searchPaths().entries(), (std::vector<SearchPath>{{samples, true}}));
    reload();
    EXPECT_EQ(listedFiles(), std::vector<std::string>{samples + "REZ01001.DAT"});
    stop();

    const std::string ini = home.dir() + "config/Kovanta/kovanta.INI";
    EXPECT_EQ(readAll(ini), "[SuchPfade]\n1=1" + samples + "\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bin),
                            std::filesystem::directory_iterator()),
              0)
        << "nothing may be written into the installation";

    // The second start reads the user's list and does not add the samples again.
    launch(installed);
    EXPECT_EQ(window->searchPaths().entries(), (std::vector<SearchPath>{{samples, true}}));
    // Nothing changed: nothing is written on close.
    std::filesystem::remove(ini);
    stop();
    EXPECT_FALSE(std::filesystem::exists(ini));
}
