// The settings, the search paths and the scan as the user meets them in the main window:
// start, change, close, start again.
#include "dialogs/dirtree.h"
#include "dialogs/durchsuchen.h"
#include "dialogs/pfaddatendefinition.h"
#include "platform/qt/settingsstore.h"
#include "recipefixtures.h"
#include "shell/mainactions.h"
#include "shell/messages.h"
#include "shell/recipelistmodel.h"
#include "app/searchpaths.h"
#include "shell/settings.h"
#include "shell/tsdiappform.h"
#include "support/testdir.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
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

constexpr int kNever = 24 * 60 * 60 * 1000;

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

class SettingsWindow : public ::testing::Test {
protected:
    TestDir home; // settings store and recipe directories
    TestDir prog; // program directory
    std::string kantine = home.dir() + "kantine/";
    std::string diaet = home.dir() + "diaet/";
    std::unique_ptr<TSDIAppForm> window;

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

    void start()
    {
        ShellOptions options;
        options.programDirectory = QString::fromStdString(prog.dir());
        options.startDelayMs = kNever;
        window = std::make_unique<TSDIAppForm>(options);
        window->showInitially();
        QCoreApplication::processEvents(); // MSG_RESTORE_PANELS
    }
    void reload()
    {
        postWindowMessage(window.get(), MSG_RELOAD_RECIPES);
        QCoreApplication::processEvents();
        waitForRead();
    }
    // The read runs on a worker thread; its list arrives later on this one.
    void waitForRead()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }));
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
    QAction* action(const char* name) const
    {
        return window->findChild<QAction*>(QString::fromLatin1(name));
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
    start();
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
    start();
    reload();
    EXPECT_EQ(listedFiles(),
              (std::vector<std::string>{diaet + "rez00011.dat", prog.dir() + "REZ00001.DAT"}));
}

TEST_F(SettingsWindow, RemovingADirectoryIsStoredOnCloseAndStaysRemoved)
{
    prog.write("kovanta.INI", "[Server]\r\nName=vemo\r\n[SuchPfade]\r\n1=1" + kantine + "\r\n2=1" +
                                  diaet + "\r\n");
    start();
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
    start();
    EXPECT_FALSE(window->searchPaths().contains(kantine));
    EXPECT_EQ(window->searchPaths().size(), 2u);
}

TEST_F(SettingsWindow, CancelledDialogStillAppendsTheWebDirectoryButKeepsTheList)
{
    prog.write("kovanta.INI", "[SuchPfade]\n1=1" + kantine + "\n");
    start();
    whenModal([](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        list->item(0)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                          Qt::LeftButton);
    });
    action("Verzeichnisse1")->trigger();
    EXPECT_EQ(window->searchPaths().entries(),
              (std::vector<SearchPath>{{kantine, true},
                                       {window->webRecipeDirectory().toStdString(), false}}));
    stop();
    EXPECT_EQ(readAll(ini()),
              "[SuchPfade]\n1=1" + kantine + "\n2=0" + prog.dir() + "internet/\n")
        << "a change: saved on close";
}

TEST_F(SettingsWindow, RowFinderAloneIsNotStoredMaxWindowIsAtOnce)
{
    {
        SettingsStore store;
        settings::writeCloseSwitches(store, true, true);
    }
    start();
    action("Zeilenfinder1")->trigger();
    EXPECT_FALSE(window->findChild<MainActions*>()->rowFinder());
    action("MaximaleFenstergroesse1")->trigger();
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "MaxWindow"), QStringLiteral("0"));
    stop();
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "Zeilenfinder"), QStringLiteral("1"));

    // With a change of the search paths the row finder is stored as well.
    start();
    EXPECT_FALSE(action("MaximaleFenstergroesse1")->isChecked());
    action("Zeilenfinder1")->trigger();
    // A cancelled "Verzeichnisse" still lists the web recipe directory: a change.
    whenModal([](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                          Qt::LeftButton);
    });
    action("Verzeichnisse1")->trigger();
    stop();
    EXPECT_EQ(stored("Software\\Kovanta\\Settings", "Zeilenfinder"), QStringLiteral("0"));
}

TEST_F(SettingsWindow, OpenAddsADirectoryInactive)
{
    start();
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
    EXPECT_EQ(window->findChild<MainActions*>()->lastAddedDirectory().toStdString(), kantine);
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

TEST_F(SettingsWindow, ImportedRecipesActivateTheWebDirectory)
{
    prog.write("kovanta.INI", "[SuchPfade]\n1=0" + prog.dir() + "internet/\n");
    start();
    prog.write("internet/rez1a.dat", shelltest::singleRecipeFile({"Web", "Internet"}));
    postWindowMessage(window.get(), MSG_IMPORT_NOTIFY, 1);
    QCoreApplication::processEvents(); // the notice posts the reload
    QCoreApplication::processEvents(); // which starts the read
    waitForRead();
    EXPECT_TRUE(window->searchPaths().entries().front().active);
    EXPECT_EQ(listedFiles(), (std::vector<std::string>{prog.dir() + "REZ00001.DAT",
                                                       prog.dir() + "internet/rez1a.dat"}));
    // Activation is no change of the search paths: nothing is written on close.
    std::filesystem::remove(ini());
    stop();
    EXPECT_FALSE(std::filesystem::exists(ini()));
}

TEST_F(SettingsWindow, SidePanelWidthsSurviveARestart)
{
    start();
    emit window->tabs()->sidePanelResized(SidePanel::MenuPlan, 321);
    emit window->tabs()->sidePanelResized(SidePanel::Requirements, 999);
    stop();
    start();
    EXPECT_EQ(window->tabs()->sidePanelWidth(SidePanel::MenuPlan), 321);
    EXPECT_EQ(window->tabs()->sidePanelWidth(SidePanel::Requirements), 400) << "at most 400";
    EXPECT_FALSE(window->tabs()->sidePanelWidthSet(SidePanel::Preview));
}

// A kovanta.INI the program cannot use (a directory, a FIFO) no longer ends or blocks the first
// show: it counts as missing, the status bar says so, and closing does not replace it.
TEST_F(SettingsWindow, UnusableIniIsTreatedAsMissingWithAStatusNote)
{
    namespace fs = std::filesystem;
    fs::create_directories(ini());
    prog.write("kovanta.INI/drin", "bleibt");
    start();
    EXPECT_TRUE(window->searchPaths().empty());
    const auto* status = window->findChild<QStatusBar*>(QStringLiteral("StatusBar"));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->currentMessage().startsWith(QStringLiteral("kovanta.INI ist ein Verzeichnis")))
        << status->currentMessage().toStdString();
    reload();
    EXPECT_EQ(listedFiles(), std::vector<std::string>{prog.dir() + "REZ00001.DAT"});
    stop();
    EXPECT_TRUE(fs::is_directory(ini()));
    EXPECT_TRUE(fs::exists(prog.path() / "kovanta.INI" / "drin"));

    fs::remove_all(ini());
    ASSERT_EQ(::mkfifo(ini().c_str(), 0600), 0);
    start(); // would wait for a writer for ever if the FIFO were opened as a file
    EXPECT_TRUE(window->searchPaths().empty());
    EXPECT_TRUE(window->findChild<QStatusBar*>(QStringLiteral("StatusBar"))
                    ->currentMessage()
                    .startsWith(QStringLiteral("kovanta.INI ist keine normale Datei")));
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

    ShellOptions options;
    options.programDirectory = QString::fromStdString(bin);
    options.startDelayMs = kNever;
    window = std::make_unique<TSDIAppForm>(options);
    window->showInitially();
    QCoreApplication::processEvents();
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
    window = std::make_unique<TSDIAppForm>(options);
    window->showInitially();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->searchPaths().entries(), (std::vector<SearchPath>{{samples, true}}));
    // Nothing changed: nothing is written on close.
    std::filesystem::remove(ini);
    stop();
    EXPECT_FALSE(std::filesystem::exists(ini));
}
