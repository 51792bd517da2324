#include "shell/guidetexts.h"
#include "shell/hint.h"
#include "shell/recipelistmodel.h"
#include "shell/startup.h"
#include "shell/tablayout.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

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

TEST(RecipeListModel, ShowsEntriesInTheListColumns)
{
    RecipeListModel model;
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    RecipeListModel::Entries entries;
    entries.push_back(makeEntry("Gulasch", 10));
    entries.push_back(makeEntry("Eintopf", 0, 1));
    model.setEntries(std::move(entries));

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 13);
    const QStringList headers = {QString(),
                                 QStringLiteral(" S"),
                                 QStringLiteral("Rezept"),
                                 QStringLiteral("Rezeptgruppe"),
                                 QStringLiteral("Portionen"),
                                 QStringLiteral("kcal"),
                                 QStringLiteral("kJ"),
                                 QStringLiteral("BE"),
                                 QStringLiteral("Chol"),
                                 QStringLiteral("AZ"),
                                 QStringLiteral("WZ"),
                                 QStringLiteral("Filename"),
                                 QString()};
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), headers[c]) << c;

    auto text = [&](int row, int col) { return model.index(row, col).data().toString(); };
    EXPECT_EQ(text(0, 0), QString());
    EXPECT_EQ(text(0, 1), QStringLiteral("0"));
    EXPECT_EQ(text(1, 1), QStringLiteral("1"));
    EXPECT_EQ(text(0, 2), QStringLiteral("Gulasch"));
    EXPECT_EQ(text(0, 3), QStringLiteral("Gemüse"));
    EXPECT_EQ(text(0, 4), QStringLiteral("10"));
    EXPECT_EQ(text(1, 4), QStringLiteral("0"));    // a missing figure shows as 0 here
    EXPECT_EQ(text(0, 5), QStringLiteral("1234")); // no grouping
    EXPECT_EQ(text(0, 11), QStringLiteral("/rezepte/REZ00001.DAT"));
    EXPECT_EQ(text(0, 12), QStringLiteral("3"));
    EXPECT_TRUE(model.anyInPlan());
    EXPECT_EQ(model.entry(2), nullptr);
    EXPECT_EQ(model.entry(-1), nullptr);
}

TEST(RecipeListModel, RefreshRowAndPlanMarks)
{
    RecipeListModel model;
    RecipeListModel::Entries entries;
    entries.push_back(makeEntry("A", 1));
    entries.push_back(makeEntry("B", 2));
    model.setEntries(std::move(entries));
    EXPECT_FALSE(model.anyInPlan());

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.entry(1)->InPlan = 1;
    model.refreshRow(1);
    model.refreshRow(2); // out of range: nothing
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_TRUE(model.anyInPlan());
    EXPECT_EQ(model.index(1, RecipeListModel::ColInPlan).data().toString(), QStringLiteral("1"));

    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.anyInPlan());
}

} // namespace
