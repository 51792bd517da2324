#include "shell/guidetexts.h"
#include "shell/hint.h"
#include "shell/recipelistmodel.h"
#include "shell/startup.h"
#include "shell/tablayout.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace kovanta;

namespace {

TEST(Hint, SplitsAtTheFirstBar)
{
    struct Row {
        const char* hint;
        const char* tooltip;
        const char* status;
    };
    const Row rows[] = {
        {"Drucken", "Drucken", "Drucken"},
        {"kurz|lang", "kurz", "lang"},
        {"nur kurz|", "nur kurz", ""},
        {"|nur lang", "", "nur lang"},
        {"a|b|c", "a", "b|c"},
        {"", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.hint);
        const HintParts parts = splitHint(QString::fromUtf8(r.hint));
        EXPECT_EQ(parts.tooltip, QString::fromUtf8(r.tooltip));
        EXPECT_EQ(parts.status, QString::fromUtf8(r.status));
    }
}

TEST(Startup, Y2kWarningOnlyBefore1999)
{
    EXPECT_EQ(y2kWarning(QDate(1998, 12, 31)),
              QStringLiteral("Sie haben möglicherweise ein Y2k Problem\n"
                             "Ihr Systemdatum zeigt:31.12.1998"));
    EXPECT_EQ(y2kWarning(QDate(1980, 1, 4)).right(10), QStringLiteral("04.01.1980"));
    EXPECT_TRUE(y2kWarning(QDate(1999, 1, 1)).isEmpty());
    EXPECT_TRUE(y2kWarning(QDate(2026, 12, 6)).isEmpty());
    EXPECT_TRUE(y2kWarning(QDate()).isEmpty());
}

TEST(Startup, QtOwnDialogTextsAreGerman)
{
    // The print and file dialogs and the standard buttons come from Qt; the translations are
    // installed with the program's dependencies.
    QTranslator* translator = installGermanQtTexts();
    ASSERT_NE(translator, nullptr);
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Speichern"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST(GuideTexts, SixTextsWithTheColumnLinesVerbatim)
{
    for (int tag = 1; tag <= kGuideTextCount; ++tag)
        EXPECT_FALSE(guideText(tag).isEmpty()) << tag;
    EXPECT_TRUE(guideText(0).isEmpty());
    EXPECT_TRUE(guideText(7).isEmpty());

    const QStringList lines1 = guideText(1).split(QLatin1Char('\n'));
    for (const char* line :
         {"[S] - Wenn angekreuzt, dann wird das Rezept im aktuellen Speiseplan verwendet.",
          "[Rezept] - Den Kurznamen des Rezeptes.",
          "[Rezeptgruppe] - Die Gruppe in die das Rezept aufgenommen wurde.",
          "[Portionen] - Die Portionenzahl, mit der das Rezept exportiert wurde.",
          "[kcal] - Die Kalorien die das Rezept pro Portion enthält. (möglicherweise nicht "
          "berechnet)",
          "[AZ] - Die Arbeitszeit, für die Herstellung der Speise. (möglicherweise nicht "
          "angegeben)",
          "[WZ] - Die Wartezeit beim Herstellen der Speise. (möglicherweise nicht angegeben)",
          "[Filename] - Datei in der das Rezept gefunden wurde."})
        EXPECT_TRUE(lines1.contains(QString::fromUtf8(line))) << line;
    for (const char* column : {"[kJ] - ", "[BE] - ", "[Chol] - "}) {
        EXPECT_EQ(lines1.filter(QString::fromUtf8(column)).size(), 1) << column;
    }
    EXPECT_EQ(guideText(2),
              QStringLiteral("Bei der Vorschau sieht man die benötigten Artikel und die "
                             "Zubereitung des Rezeptes.\n\nDie Mengen für die Rezepte beziehen "
                             "sich auf die gespeicherten Mengen, oder auf die im Speiseplan "
                             "eingegebene Menge, falls sich diese unterscheiden.\n\nAusserdem "
                             "besteht die Möglichkeit, das Rezept auszudrucken."));
    for (const char* column : {"[Menge] - ", "[Einheit] - ", "[Artikel] - "}) {
        EXPECT_TRUE(guideText(4).contains(QString::fromUtf8(column))) << column;
    }
    EXPECT_TRUE(guideText(5).contains(QStringLiteral("\"Datei/Web-Rezepte...\"")));
}

TEST(PrintButton, EnabledPerTabAndPlan)
{
    for (bool planned : {false, true}) {
        EXPECT_TRUE(printEnabledOnTab(TabRecipeList, planned));
        EXPECT_TRUE(printEnabledOnTab(TabPreview, planned));
        EXPECT_EQ(printEnabledOnTab(TabMenuPlan, planned), planned);
        EXPECT_EQ(printEnabledOnTab(TabRequirements, planned), planned);
    }
}

std::unique_ptr<TImpListInfo> makeEntry(const char* name, int portions, int inPlan = 0)
{
    auto e = std::make_unique<TImpListInfo>();
    e->ShortName = name;
    e->GroupName = "Gem\xFC"
                   "se"; // ANSI ü
    e->Portions = portions;
    e->Kcal = 1234;
    e->FileName = "/rezepte/REZ00001.DAT";
    e->EntryIndex = 3;
    e->InPlan = inPlan;
    return e;
}

TEST(RecipeListModel, OwnsTheEntriesAndTellsBeforeFreeingThem)
{
    std::vector<std::string> events; // outlives the list, which reports its end as well
    RecipeListModel list;
    QObject::connect(&list, &RecipeListModel::aboutToReset, [&] {
        // The old entries are still there to be let go of.
        events.push_back("about:" + std::to_string(list.entryCount()));
    });
    QObject::connect(&list, &RecipeListModel::reset,
                     [&] { events.push_back("reset:" + std::to_string(list.entryCount())); });
    const TImpListInfo* changed = nullptr;
    QObject::connect(&list, &RecipeListModel::entryChanged,
                     [&](const TImpListInfo* e) { changed = e; });

    RecipeListModel::Entries entries;
    entries.push_back(makeEntry("A", 1));
    entries.push_back(makeEntry("B", 2));
    list.setEntries(std::move(entries));
    EXPECT_FALSE(list.anyInPlan());
    EXPECT_EQ(list.entry(2), nullptr);
    EXPECT_EQ(list.entry(-1), nullptr);

    list.entry(1)->InPlan = 1;
    list.refreshRow(1);
    EXPECT_EQ(changed, list.entry(1));
    changed = nullptr;
    list.refreshRow(2); // out of range: nothing
    EXPECT_EQ(changed, nullptr);
    EXPECT_TRUE(list.anyInPlan());

    list.clear();
    EXPECT_EQ(list.entryCount(), 0);
    EXPECT_FALSE(list.anyInPlan());
    EXPECT_EQ(events, (std::vector<std::string>{"about:0", "reset:2", "about:2", "reset:0"}));
}

} // namespace
