#include "recipe/recipe_fixture.h"
#include "support/testdir.h"
#include "views/previewcontroller.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace kovanta;

TEST(PlanPortions, FirstPlanRowOfTheSameRecipeCounts)
{
    TImpListInfo a, b, aAgain, otherEntry;
    a.FileName = b.FileName = aAgain.FileName = otherEntry.FileName = "/r/REZ00001.DAT";
    a.FileNumber = b.FileNumber = aAgain.FileNumber = otherEntry.FileNumber = 1;
    b.NameNumber = 2;
    otherEntry.EntryIndex = 3;
    const std::vector<const TImpListInfo*> plan = {&b, nullptr, &otherEntry, &a, &aAgain};
    const std::vector<std::string> cells = {"5", "6", " 7 ", "x", "9"};
    const auto entryAt = [&](int row) { return plan[static_cast<std::size_t>(row)]; };
    const auto textAt = [&](int row) { return cells[static_cast<std::size_t>(row)]; };

    EXPECT_EQ(PlanPortions(b, 5, entryAt, textAt), 5);
    // The first row holding the recipe decides, even when its cell is not a number.
    EXPECT_EQ(PlanPortions(a, 5, entryAt, textAt), 0);
    EXPECT_EQ(PlanPortions(otherEntry, 5, entryAt, textAt), 7);
    TImpListInfo notPlanned = a;
    notPlanned.FileName = "/r/REZ00002.DAT";
    EXPECT_EQ(PlanPortions(notPlanned, 5, entryAt, textAt), 0);
    EXPECT_EQ(PlanPortions(b, 0, entryAt, textAt), 0);
}

namespace {

// A window with a preview and a line edit standing in for the recipe list; rows 0 and 1 hold
// recipes, row 2 has no entry.
class PreviewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 2; ++i) {
            fixture::Head h;
            h.shortName = i == 0 ? "Gulasch" : "Erbsensuppe";
            h.portions = 10;
            auto e = std::make_unique<TImpListInfo>();
            e->FileName = dir.write(
                "REZ0000" + std::to_string(i + 1) + ".DAT",
                fixture::Join(fixture::Block(h, {fixture::Article("100", "1", "kg", "Mehl")})));
            e->FileNumber = static_cast<std::uint16_t>(i + 1);
            entries.push_back(std::move(e));
        }
        auto* layout = new QVBoxLayout(&window);
        list = new QLineEdit(&window);
        preview = new QTextEdit(&window);
        preview->setReadOnly(true);
        layout->addWidget(list);
        layout->addWidget(preview);
        controller = std::make_unique<PreviewController>(
            proz, preview, &window,
            [this](int row) -> const TImpListInfo* {
                return row >= 0 && row < static_cast<int>(entries.size())
                           ? entries[static_cast<std::size_t>(row)].get()
                           : nullptr;
            },
            [this](const TImpListInfo&) {
                ++builds;
                windowEnabledWhileBuilding = window.isEnabled();
                previewUpdatingWhileBuilding = preview->updatesEnabled();
                return portions;
            });
    }

    bool Shows(const char* text) const
    {
        return preview->toPlainText().contains(QString::fromUtf8(text));
    }

    TestDir dir;
    TRezeptImportProz proz;
    std::vector<std::unique_ptr<TImpListInfo>> entries;
    QWidget window;
    QLineEdit* list = nullptr;
    QTextEdit* preview = nullptr;
    std::unique_ptr<PreviewController> controller;
    std::int32_t portions = 0;
    int builds = 0;
    bool windowEnabledWhileBuilding = true;
    bool previewUpdatingWhileBuilding = true;
};

} // namespace

TEST_F(PreviewControllerTest, RowWithoutEntryClearsThePreview)
{
    controller->ShowPreview(0);
    EXPECT_FALSE(controller->ShowPreview(2));
    EXPECT_EQ(preview->toPlainText(), QString());
    EXPECT_EQ(controller->PreviewedRow(), -1);
    // The row shown before is built again once selected again.
    EXPECT_TRUE(controller->ShowPreview(0));
    EXPECT_FALSE(controller->ShowPreview(-1));
    EXPECT_EQ(controller->PreviewedRow(), -1);
}

TEST_F(PreviewControllerTest, WindowIsDisabledWhileBuildingAndGetsItsFocusBack)
{
    window.show();
    QApplication::setActiveWindow(&window);
    list->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(list->hasFocus());

    EXPECT_TRUE(controller->ShowPreview(0));
    EXPECT_FALSE(windowEnabledWhileBuilding);
    EXPECT_FALSE(previewUpdatingWhileBuilding);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(preview->updatesEnabled());
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(PreviewControllerTest, PreviewPaintsAgainWhenTheCallersLockEnds)
{
    // A tab switch suspends the whole window's updates around the preview request.
    window.setUpdatesEnabled(false);
    EXPECT_TRUE(controller->ShowPreview(0));
    window.setUpdatesEnabled(true);
    EXPECT_TRUE(preview->updatesEnabled());
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(PreviewControllerTest, RowHoldingAnotherRecipeAfterARereadIsBuiltAgain)
{
    EXPECT_TRUE(controller->ShowPreview(0));
    // A new read puts the soup where the goulash was; the row number stays.
    std::swap(entries[0], entries[1]);
    EXPECT_TRUE(controller->ShowPreview(0));
    EXPECT_TRUE(Shows("Rezept: Erbsensuppe,"));
    EXPECT_FALSE(controller->ShowPreview(0));
}

TEST_F(PreviewControllerTest, ReportsEveryChangeOfWhatIsOnShowAndKeepsItsState)
{
    std::vector<int> shown;
    QObject::connect(controller.get(), &PreviewController::previewChanged,
                     [&](int row) { shown.push_back(row); });
    EXPECT_TRUE(controller->ShowPreview(0));
    EXPECT_FALSE(controller->ShowPreview(0)); // unchanged: no report
    controller->MarkPortionsChanged();
    EXPECT_TRUE(controller->RefreshPending());
    EXPECT_TRUE(controller->ShowPreview(0)); // the same row, rebuilt for new portions
    EXPECT_FALSE(controller->RefreshPending());
    EXPECT_TRUE(controller->ShowPreview(1));
    EXPECT_FALSE(controller->ShowPreview(5)); // no entry: cleared
    EXPECT_FALSE(controller->ShowPreview(7)); // still nothing on show: no second report
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, -1}));
    EXPECT_EQ(builds, 3);
}
