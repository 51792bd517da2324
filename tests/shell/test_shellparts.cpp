#include "shell/guidetexts.h"
#include "shell/hint.h"
#include "shell/startup.h"
#include "shell/tablayout.h"
#include "views/recipelistmodel.h"

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

std::unique_ptr<TImpListInfo> makeEntry(const char* name)
{
    auto e = std::make_unique<TImpListInfo>();
    e->ShortName = name;
    return e;
}

TEST(RecipeListModel, OwnsTheEntriesKnowsTheirPlacesAndTellsWhatChanges)
{
    std::vector<std::string> events; // outlives the list, which reports its end as well
    RecipeListModel list;
    QObject::connect(&list, &RecipeListModel::aboutToReset, [&] {
        // The old entries are still there to be let go of.
        events.push_back("about:" + std::to_string(list.entryCount()));
    });
    QObject::connect(&list, &RecipeListModel::reset,
                     [&] { events.push_back("reset:" + std::to_string(list.entryCount())); });
    QObject::connect(&list, &RecipeListModel::markChanged,
                     [&](int index) { events.push_back("mark:" + std::to_string(index)); });

    RecipeListModel::Entries entries;
    for (const char* name : {"A", "B", "C"})
        entries.push_back(makeEntry(name));
    list.setEntries(std::move(entries));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.indexOf(list.entry(i)), i);
    const TImpListInfo stranger;
    EXPECT_EQ(list.indexOf(&stranger), -1);
    EXPECT_EQ(list.indexOf(nullptr), -1);
    EXPECT_EQ(list.entry(3), nullptr);
    EXPECT_EQ(list.entry(-1), nullptr);

    EXPECT_FALSE(list.anyInPlan());
    list.setMark(1, true);
    list.setMark(1, true); // no change: not told again
    list.setMark(3, true); // out of range: nothing
    EXPECT_EQ(list.entry(1)->InPlan, 1);
    EXPECT_TRUE(list.anyInPlan());
    list.setMark(1, false);
    EXPECT_FALSE(list.anyInPlan());

    list.clear();
    EXPECT_EQ(list.entryCount(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"about:0", "reset:3", "mark:1", "mark:1",
                                                "about:3", "reset:0"}));
}

} // namespace
