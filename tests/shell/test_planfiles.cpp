// Menu plans as files in the main window: "Speiseplan öffnen/speichern...", the question before
// a changed plan is dropped, and "Bedarfsliste exportieren...". The dialogs are answered by the
// test through PlanFileUi.
#include "recipe/planfile.h"
#include "shell/commandline.h"
#include "shell/planfileactions.h"
#include "support/mainwindowdriver.h"

#include <QAction>
#include <QMenu>

#include <deque>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace kovanta;
using fixture::Article;
using fixture::Text;

namespace {

// Answers queued by the test; every question and message is recorded.
struct ScriptedUi final : PlanFileUi {
    struct Log {
        std::deque<QString> names; // for the open, save and export dialogs, in turn
        std::deque<Answer> answers;
        std::vector<QString> dialogs; // "open start", "save start", "export start"
        std::vector<QString> messages;
        int questions = 0;
    };
    explicit ScriptedUi(Log& log) : log_(log) {}

    QString next(const char* kind, const QString& start)
    {
        log_.dialogs.push_back(QString::fromUtf8(kind) + QLatin1Char(' ') + start);
        if (log_.names.empty())
            return {};
        const QString name = log_.names.front();
        log_.names.pop_front();
        return name;
    }
    QString openPlanName(QWidget*, const QString& start) override { return next("open", start); }
    QString savePlanName(QWidget*, const QString& start) override { return next("save", start); }
    QString exportName(QWidget*, const QString& start) override { return next("export", start); }
    Answer askSaveChanges(QWidget*) override
    {
        ++log_.questions;
        if (log_.answers.empty())
            return Answer::Cancel;
        const Answer a = log_.answers.front();
        log_.answers.pop_front();
        return a;
    }
    void showMessage(QWidget*, const QString& text) override { log_.messages.push_back(text); }

    Log& log_;
};

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class PlanFilesTest : public window_test::MainWindowDriver {
protected:
    void SetUp() override
    {
        writeRecipe("REZ00001.DAT", "Gulasch", 10,
                    {Article("150", "1", "kg", "Rindfleisch"), Text("", "Salz^")});
        writeRecipe("REZ00002.DAT", "Kuchen", 4,
                    {Article("25", "1", "kg", "Butter"), Text("", "oder^"),
                     Article("25", "1", "kg", "Margarine")});
        writeRecipe("REZ00003.DAT", "Suppe", 20, {Article("400", "1", "l", "Wasser")});
        // Not in a searched directory.
        writeRecipe("anderswo/REZ00004.DAT", "Eintopf", 10, {Article("100", "1", "kg", "Linsen")});
        open();
        actions()->setUi(std::make_unique<ScriptedUi>(log));
    }

    void TearDown() override
    {
        // Nothing may ask while the window goes.
        log.answers.assign(8, PlanFileUi::Answer::Discard);
    }

    PlanFileActions* actions() const { return &window->planFiles(); }
    std::string Mark(const std::string& name) const { return list()->GetCell(1, rowOf(name)); }
    std::string PlanRow(int row) const
    {
        return plan()->GetCell(1, row) + "|" + plan()->GetCell(2, row);
    }
    std::string PlanPath(const char* name) const { return dir.dir() + name; }
    QString QPlanPath(const char* name) const { return QString::fromStdString(PlanPath(name)); }

    ScriptedUi::Log log;
};

TEST_F(PlanFilesTest, MenuItemsWaitForTheFirstRead)
{
    auto* file = window->findChild<QMenu*>(QStringLiteral("Datei1"));
    ASSERT_NE(file, nullptr);
    QStringList texts;
    for (QAction* a : file->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text().remove(QLatin1Char('&')));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Öffnen..."), QStringLiteral("Web-Rezepte..."),
                                  QStringLiteral("-"), QStringLiteral("Speiseplan öffnen..."),
                                  QStringLiteral("Speiseplan speichern..."),
                                  QStringLiteral("Bedarfsliste exportieren..."),
                                  QStringLiteral("-"), QStringLiteral("Drucken..."),
                                  QStringLiteral("Druckvorschau..."), QStringLiteral("-"),
                                  QStringLiteral("Beenden")}));
    EXPECT_EQ(actions()->openAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(actions()->saveAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    // Before "Programmstart" no recipe could be planned.
    EXPECT_FALSE(actions()->openAction()->isEnabled());
    EXPECT_FALSE(actions()->saveAction()->isEnabled());
    EXPECT_FALSE(actions()->exportAction()->isEnabled());
    actions()->openAction()->trigger();
    EXPECT_TRUE(log.dialogs.empty());
    start();
    EXPECT_TRUE(actions()->openAction()->isEnabled());
    EXPECT_TRUE(actions()->saveAction()->isEnabled());
}

TEST_F(PlanFilesTest, SavedPlanOpensAgainWithPortionsAndMarks)
{
    start();
    toggle("Gulasch");
    toggle("Kuchen");
    plan()->SetCell(1, 2, "8"); // as typed into the plan
    ASSERT_EQ(PlanRow(1), "10|Gulasch");
    EXPECT_TRUE(actions()->planChanged());

    log.names = {QPlanPath("woche.plan")};
    actions()->saveAction()->trigger();
    ASSERT_EQ(log.dialogs.size(), 1u);
    EXPECT_TRUE(log.dialogs[0].startsWith(QStringLiteral("save ")));
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(Slurp(PlanPath("woche.plan")),
              "10\tREZ00001.DAT\t0\tGulasch\n8\tREZ00002.DAT\t0\tKuchen\n");
    EXPECT_FALSE(actions()->planChanged());
    EXPECT_EQ(actions()->planFileName(), QPlanPath("woche.plan"));

    // Another plan, then the saved one again. Abbrechen to the question opens no dialog.
    toggle("Gulasch");
    toggle("Suppe");
    log.answers = {PlanFileUi::Answer::Cancel};
    EXPECT_FALSE(actions()->openPlan());
    EXPECT_EQ(log.dialogs.size(), 1u);
    log.answers = {PlanFileUi::Answer::Discard};
    log.names = {QPlanPath("woche.plan")};
    chooseTab(TabRequirements);
    actions()->openAction()->trigger();
    EXPECT_EQ(log.questions, 2);
    EXPECT_EQ(log.dialogs.back(), QStringLiteral("open ") + QPlanPath("woche.plan"));
    EXPECT_EQ(PlanRow(1), "10|Gulasch");
    EXPECT_EQ(PlanRow(2), "8|Kuchen");
    EXPECT_EQ(PlanRow(3), "|");
    EXPECT_EQ(Mark("Gulasch"), "1");
    EXPECT_EQ(Mark("Kuchen"), "1");
    EXPECT_EQ(Mark("Suppe"), "0");
    EXPECT_FALSE(actions()->planChanged());
    EXPECT_EQ(window->tabs()->currentIndex(), TabRequirements); // the plan is on show there
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->GetCell(3, 1) == "Rindfleisch"; }));
    EXPECT_EQ(requirements()->GetCell(1, 1), "      1,500");
    EXPECT_EQ(requirements()->GetCell(1, 3), "      0,500"); // Butter for 8 of 4 portions
    EXPECT_TRUE(window->alternativesFound());
    EXPECT_TRUE(log.messages.empty());
}

// `kovanta woche.plan`: the plan opens once the first read is done, and only then; a later
// read keeps what the cook did with it.
TEST_F(PlanFilesTest, PlanNamedAtStartOpensAfterTheFirstRead)
{
    dir.write("woche.plan", "7\tREZ00001.DAT\t0\n");
    QString named;
    ASSERT_FALSE(planFileArgument({QStringLiteral("kovanta"), QStringLiteral("--"), QPlanPath("woche.plan")},
                                  named));
    EXPECT_EQ(named, QPlanPath("woche.plan"));
    openPlanAfterFirstRead(*window, named);
    QCoreApplication::processEvents();
    EXPECT_EQ(PlanRow(1), "|");
    start();
    EXPECT_EQ(PlanRow(1), "7|Gulasch");
    EXPECT_EQ(Mark("Gulasch"), "1");
    EXPECT_EQ(actions()->planFileName(), QPlanPath("woche.plan"));
    toggle("Suppe");
    reread();
    EXPECT_EQ(PlanRow(2), "20|Suppe");
    EXPECT_EQ(log.questions, 0);
    EXPECT_TRUE(log.messages.empty());
}

TEST_F(PlanFilesTest, RowsThatCannotBePlannedAreNamedOnce)
{
    start();
    std::string text = "\xEF\xBB\xBF" "20\tREZ00001.DAT\t0\tGulasch\n" // byte order mark
                       "5\tREZ09999.DAT\t0\n"            // file missing
                       "5\tanderswo/REZ00004.DAT\t0\n"   // directory not searched
                       "\n"
                       "7\t./REZ00003.DAT\n"             // another spelling, index left out
                       "3\tREZ00002.DAT\t2\n"            // no second recipe in the file
                       "3\tREZ00003.DAT\t0\tGulasch\n"   // the file holds another recipe now
                       "100000\tREZ00002.DAT\t0\n"       // more than the cell takes
                       "3\tREZ00002.DAT";
    text += std::string("\0x\t0\n", 5); // the system would cut the name at the NUL
    for (int row = 10; row <= 50; ++row)
        text += "\n";
    text += "9\tREZ00002.DAT\t0\n"; // row 51: the plan has 50
    dir.write("voll.plan", text);
    ASSERT_TRUE(actions()->openPlanFile(QPlanPath("voll.plan")));
    EXPECT_EQ(window->tabs()->currentIndex(), TabMenuPlan);
    EXPECT_EQ(PlanRow(1), "20|Gulasch");
    EXPECT_EQ(PlanRow(2), "|");
    EXPECT_EQ(PlanRow(3), "|");
    EXPECT_EQ(PlanRow(5), "7|Suppe");
    for (int row : {6, 7, 8, 9})
        EXPECT_EQ(PlanRow(row), "|") << row;
    EXPECT_EQ(Mark("Kuchen"), "0");
    ASSERT_EQ(log.messages.size(), 1u);
    const QString message = log.messages[0];
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Diese Zeilen des Speiseplans wurden nicht übernommen:\n\nZeile 2: ")))
        << message.toStdString();
    const QString kNotListed = QStringLiteral(" steht nicht in der Rezeptliste");
    for (const QString& line :
         {QStringLiteral("Zeile 2: ") + QPlanPath("REZ09999.DAT") + kNotListed,
          QStringLiteral("Zeile 3: ") + QPlanPath("anderswo/REZ00004.DAT") + kNotListed,
          QStringLiteral("Zeile 6: ") + QPlanPath("REZ00002.DAT") + QStringLiteral(", Eintrag 2,") +
              kNotListed,
          QStringLiteral("Zeile 7: ") + QPlanPath("REZ00003.DAT") +
              QStringLiteral(" hat als Eintrag 0 jetzt \"Suppe\", nicht \"Gulasch\""),
          QStringLiteral("Zeile 8: die Portionen \"100000\" sind keine ganze Zahl von -99999 bis "
                         "99999"),
          QStringLiteral("Zeile 9: der Name der Rezeptdatei enthält ein NUL-Zeichen"),
          QStringLiteral("Zeile 51: ") + QPlanPath("REZ00002.DAT") +
              QStringLiteral(" steht nach Zeile 50, der letzten des Speiseplans")})
        EXPECT_TRUE(message.contains(line)) << line.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("Zeile 1:")));
    EXPECT_FALSE(message.contains(QStringLiteral("Zeile 5:")));
}

TEST_F(PlanFilesTest, FilesThatAreNoPlanChangeNothing)
{
    start();
    toggle("Suppe");
    dir.write("kaputt.plan", "20\tREZ00001.DAT\t0\nkein Plan\n");
    EXPECT_FALSE(actions()->openPlanFile(QPlanPath("kaputt.plan")));
    EXPECT_FALSE(actions()->openPlanFile(QPlanPath("fehlt.plan")));
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[0],
              QStringLiteral("Die Datei \"%1\" ist kein Speiseplan: Zeile 2 hat nicht die Form "
                             "Portionen<TAB>Rezeptdatei<TAB>Eintrag.")
                  .arg(QPlanPath("kaputt.plan")));
    EXPECT_EQ(log.messages[1], QStringLiteral("Der Speiseplan \"%1\" kann nicht gelesen werden.")
                                   .arg(QPlanPath("fehlt.plan")));
    EXPECT_EQ(PlanRow(1), "20|Suppe");
    EXPECT_EQ(Mark("Suppe"), "1");

    // A save that cannot be written says why and leaves the plan unsaved.
    EXPECT_FALSE(actions()->savePlanFile(QPlanPath("fehlt/x.plan")));
    ASSERT_EQ(log.messages.size(), 3u);
    EXPECT_TRUE(log.messages[2].startsWith(
        QStringLiteral("Der Speiseplan kann nicht gespeichert werden:\n\"%1\" kann nicht "
                       "geschrieben werden (")
            .arg(QPlanPath("fehlt/x.plan"))))
        << log.messages[2].toStdString();
    EXPECT_TRUE(actions()->planChanged());
}

TEST_F(PlanFilesTest, ClosingAsksOnlyForAChangedPlan)
{
    start();
    // Empty: never asked.
    EXPECT_TRUE(window->close());
    EXPECT_EQ(log.questions, 0);
    window->show();

    toggle("Gulasch");
    // Abbrechen keeps the program open.
    log.answers = {PlanFileUi::Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(log.questions, 1);

    // Ja, then the save dialog cancelled: still open, nothing written.
    log.answers = {PlanFileUi::Answer::Save};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(log.questions, 2);
    EXPECT_TRUE(log.dialogs.back().startsWith(QStringLiteral("save ")));

    // Ja with a file: saved, closed.
    log.answers = {PlanFileUi::Answer::Save};
    log.names = {QPlanPath("ende.plan")};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(Slurp(PlanPath("ende.plan")), "10\tREZ00001.DAT\t0\tGulasch\n");

    // Saved: not asked again; changed once more and Nein: closed without writing.
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(log.questions, 3);
    window->show();
    plan()->SetCell(1, 1, "30");
    log.answers = {PlanFileUi::Answer::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(log.questions, 4);
    EXPECT_EQ(Slurp(PlanPath("ende.plan")), "10\tREZ00001.DAT\t0\tGulasch\n");

    // Back to what was saved: unchanged.
    plan()->SetCell(1, 1, "10");
    EXPECT_FALSE(actions()->planChanged());
}

TEST_F(PlanFilesTest, RequirementsExportAsShownOnBedarfsliste)
{
    start();
    toggle("Gulasch");
    toggle("Kuchen");
    plan()->SetCell(1, 1, "20");
    EXPECT_FALSE(actions()->exportAction()->isEnabled());
    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->GetCell(3, 1) == "Rindfleisch"; }));
    EXPECT_TRUE(actions()->exportAction()->isEnabled());
    // The cook adjusts a quantity before ordering.
    requirements()->SetCell(1, 3, "      1,250");

    log.names = {QPlanPath("bedarf")};
    log.names.front() += QStringLiteral(".csv");
    actions()->exportAction()->trigger();
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(Slurp(PlanPath("bedarf.csv")), "\xEF\xBB\xBFMenge;Einheit;Artikel\r\n"
                                             "3,000;kg;Rindfleisch\r\n"
                                             "0,000;;Salz\r\n"
                                             "1,250;kg;Butter\r\n"
                                             "0,250;kg;Margarine\r\n"
                                             "Alternativartikel enthalten\r\n");

    // Without rows there is nothing to export.
    chooseTab(TabMenuPlan);
    toggle("Gulasch");
    toggle("Kuchen");
    chooseTab(TabRequirements);
    EXPECT_FALSE(actions()->hasRequirementRows());
    EXPECT_FALSE(actions()->exportAction()->isEnabled());
    EXPECT_FALSE(actions()->exportRequirements());
}

} // namespace
