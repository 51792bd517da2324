#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/stringgriddelegate.h"
#include "platform/qt/ansiqstring.h"
#include "platform/qt/settingsstore.h"
#include "support/testdir.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace kovanta;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// A window holding one grid and a line edit to move the focus to.
struct Window {
    QWidget top;
    TAStringGrid* grid;
    QLineEdit* other;
    explicit Window(int width = 500)
    {
        auto* layout = new QVBoxLayout(&top);
        grid = new TAStringGrid(&top);
        grid->setObjectName(QStringLiteral("StringGrid2"));
        other = new QLineEdit(&top);
        layout->addWidget(grid);
        layout->addWidget(other);
        top.resize(width, 400);
    }
    void show()
    {
        top.show();
        QApplication::setActiveWindow(&top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        grid->setFocus();
        settle();
    }
};

// The menu plan's configuration.
void configureMenuPlan(TAStringGrid* g)
{
    g->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                  goDrawFocusSelected | goRowMoving | goEditing | goTabs | goAlwaysShowEditor |
                  goThumbTracking);
    g->SetRowCount(51);
    g->SetColNames(TColNames{"|20|0|1|1|", "Portionen|50|0|||Anzahl der Portionen",
                             "Rezept|80|L|1||Bezeichnung f\xFCr den Speiseplan",
                             "Gruppe|80|L|1||Gruppenzuordnung", "|200|L|1|0|"});
}

struct CountedInfo : TGridInfo {
    static inline int destroyed = 0;
    ~CountedInfo() override { ++destroyed; }
};

} // namespace

// ---- column definitions and cells ----------------------------------------------------------

TEST(TAStringGrid, ColNamesGiveColumnsWidthsAndCaptions)
{
    TAStringGrid g;
    EXPECT_EQ(g.ColCount(), 1); // the constructor's single entry
    g.SetColNames(TColNames{"A|30", "B"});
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.ColWidths(0), 30);
    EXPECT_EQ(g.ColWidths(1), g.DefaultColWidth());
    EXPECT_EQ(g.GetCell(0, 0), "A");
    EXPECT_EQ(g.GetCell(1, 0), "B");
    EXPECT_EQ(g.DatenTyp(), "LL");
    EXPECT_TRUE(g.ColumnEditable(1));
    EXPECT_EQ(g.GridModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("B"));
    // Header cells follow the fixed-cell rules: "255" in a check box column is blank, and the
    // text hook may change what is shown.
    g.SetColNames(TColNames{"A|30", "255|19|X"});
    EXPECT_EQ(g.GridModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
    g.OnGetDrawCellText = [](TAStringGrid*, int col, int row, std::string& text, bool&) {
        if (col == 0 && row == 1)
            text = "*";
    };
    EXPECT_EQ(g.GridModel()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(),
              QStringLiteral("*"));
    g.OnGetDrawCellText = nullptr;
    g.SetColNames(TColNames{"A|30", "B|20|L|0|0|Kurz|Lang"});
    // ',' ';' and '|' end the hint field, so "Kurz|Lang" keeps "Kurz".
    EXPECT_EQ(g.GridModel()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(),
              QStringLiteral("Kurz"));
    g.SetColNames(TColNames{"A|30", "B"});
    EXPECT_FALSE(g.GridModel()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    // An empty list keeps columns and captions but nothing is editable any more.
    g.SetColNames(TColNames{});
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.GetCell(1, 0), "B");
    EXPECT_FALSE(g.ColumnEditable(1));
    // Control bytes are shown as blanks, in captions and cells (a multi-line cell still breaks
    // its lines at CR).
    g.SetCell(1, 0,
              "B\x01"
              "C");
    EXPECT_EQ(g.GridModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("B C"));
    EXPECT_EQ(StringGridDelegate::paintedLines(grid::CellKind::Left, "a\tb\rc"),
              std::vector<std::string>{"a b c"});
    EXPECT_EQ(StringGridDelegate::paintedLines(grid::CellKind::MultiLeft, "a\x1A\r\nb"),
              (std::vector<std::string>{"a ", "b"}));
}

TEST(TAStringGrid, SetCellWritesOnlyChangesAndRowObjectsAreNotOwned)
{
    TAStringGrid g;
    QAbstractItemModelTester tester(g.GridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    configureMenuPlan(&g);
    QSignalSpy changed(g.GridModel(), &QAbstractItemModel::dataChanged);
    g.SetCell(2, 3, "Suppe");
    g.SetCell(2, 3, "Suppe");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(g.GetCell(2, 3), "Suppe");
    EXPECT_EQ(g.GetCell(99, 3), "");

    // The grid only points at row objects: refilling or destroying it frees none of them.
    CountedInfo::destroyed = 0;
    {
        auto grid = std::make_unique<TAStringGrid>();
        configureMenuPlan(grid.get());
        std::vector<std::unique_ptr<CountedInfo>> owned;
        owned.push_back(std::make_unique<CountedInfo>());
        owned.push_back(std::make_unique<CountedInfo>());
        grid->SetObjects(0, 1, owned[0].get());
        grid->SetObjects(0, 50, owned[1].get());
        grid->SetRowCount(10); // row 50 goes
        EXPECT_EQ(grid->Objects(0, 1), owned[0].get());
        grid.reset();
        EXPECT_EQ(CountedInfo::destroyed, 0);
    }
    EXPECT_EQ(CountedInfo::destroyed, 2) << "freed once, by their owner";
}

// ---- the fixed-point entry through real keys ---------------------------------------------------

// The number editor maps keys onto the fixed-point entry (whose rules NumberEntry.* tables
// test): the rows here are about the keys, and about what reaches the cell.
TEST(TAStringGrid, NumberCellsTakeKeysThroughTheFixedPointEntry)
{
    Window w;
    configureMenuPlan(w.grid);
    w.grid->SetColNames(TColNames{"|20|0|1|1|", "Menge|60|3|0||Ben\xF6tigte Menge",
                                  "Anzahl|60|0|0||", "|200|L|1|0|"});
    w.grid->SetCell(1, 1, "12,5");
    w.grid->SetCell(2, 1, "8");
    w.grid->SetCell(2, 2, "45");
    int asked = 0;
    w.grid->OnGetMinMaxValue = [&](TAStringGrid*, int col, int, double& lo, double& hi,
                                   bool& limited) {
        ++asked;
        if (col != 2)
            return;
        lo = -99999;
        hi = 99999;
        limited = true;
    };
    w.show();
    w.grid->SetCurrentCell(1, 1);
    settle();
    TAInplaceEdit* ed = w.grid->InplaceEditor();
    ASSERT_TRUE(ed && ed->isVisible() && ed->hasFocus());
    EXPECT_EQ(ed->text(), QStringLiteral("12,500"));
    // Moving onto the cell with the keyboard selects all but the last character.
    QTest::keyClick(ed, Qt::Key_Down);
    QTest::keyClick(ed, Qt::Key_Up);
    settle();
    EXPECT_EQ(ed->selectedText(), QStringLiteral("12,50"));
    QTest::keyClicks(ed, QStringLiteral("7"));
    EXPECT_EQ(w.grid->GetCell(1, 1), "7,000");

    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
    };
    struct Case {
        const char* what;
        int caret;
        std::vector<Key> keys;
        const char* text;
    };
    const Case cases[] = {
        {"the comma key jumps behind the separator", 2, {{Qt::Key_Comma}, {Qt::Key_9}}, "12,945"},
        {"the main keyboard's '.' is the comma", 2, {{Qt::Key_Period}, {Qt::Key_9}}, "12,945"},
        {"Backspace keeps the decimals", 6, {{Qt::Key_Backspace}}, "12,340"},
        {"Delete removes the digit after the caret", 0, {{Qt::Key_Delete}}, "2,345"},
        {"'-' toggles the sign", 3, {{Qt::Key_Minus}}, "-12,345"},
        {"keypad minus, then keypad plus",
         3,
         {{Qt::Key_Minus, Qt::KeypadModifier}, {Qt::Key_Plus, Qt::KeypadModifier}},
         "12,345"},
        {"letters and blanks change nothing", 3, {{Qt::Key_X}, {Qt::Key_Space}}, "12,345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ed->setText(QStringLiteral("12,345"));
        ed->setCursorPosition(c.caret);
        for (const Key& k : c.keys) {
            QTest::keyClick(ed, k.key, k.mods);
            settle(); // '.' arrives as a queued comma
        }
        EXPECT_EQ(ed->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(w.grid->GetCell(1, 1), c.text);
    }

    // A click onto another cell takes its value whole, as receiving the focus does: typing
    // replaces it, also when it is a single digit.
    const auto click = [&](int col, int row) {
        const QRect r = w.grid->visualRect(w.grid->GridModel()->index(row - 1, col - 1));
        QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, r.center());
        settle();
    };
    click(2, 1);
    ASSERT_TRUE(ed->hasFocus());
    QTest::keyClicks(ed, QStringLiteral("60"));
    EXPECT_EQ(w.grid->GetCell(2, 1), "60");
    click(2, 2);
    QTest::keyClicks(ed, QStringLiteral("8"));
    EXPECT_EQ(w.grid->GetCell(2, 2), "8");

    // The owner's entry limits refuse keys, each with a signal.
    EXPECT_GT(asked, 0);
    int refused = 0;
    QObject::connect(ed, &TAInplaceEdit::inputRefused, [&] { ++refused; });
    ed->selectAll();
    QTest::keyClicks(ed, QStringLiteral("2147483648"));
    EXPECT_EQ(w.grid->GetCell(2, 2), "21474");
    EXPECT_EQ(refused, 5);
}

// ---- notifications -------------------------------------------------------------------------

TEST(TAStringGrid, LeaveRowAndExitEditNotifications)
{
    Window w;
    configureMenuPlan(w.grid);
    std::vector<std::pair<int, bool>> leaves;
    std::vector<std::pair<int, int>> exits;
    w.grid->OnLeaveRowInput = [&](TAInplaceEdit*, int row, bool changed) {
        leaves.emplace_back(row, changed);
    };
    w.grid->OnExitEdit = [&](TAInplaceEdit*, int col, int row, int art, std::string&) {
        EXPECT_EQ(art, 10);
        exits.emplace_back(col, row);
    };
    w.grid->SetCell(1, 3, "0");
    w.grid->SetCell(1, 4, "0");
    w.show();
    w.grid->SetCurrentCell(1, 1);
    settle();
    TAInplaceEdit* ed = w.grid->InplaceEditor();
    ASSERT_TRUE(ed && ed->hasFocus());
    leaves.clear();
    exits.clear();

    QTest::keyClicks(ed, QStringLiteral("25"));
    settle();
    EXPECT_TRUE(leaves.empty());
    QTest::keyClick(ed, Qt::Key_Down);
    settle();
    EXPECT_EQ(w.grid->Row(), 2);
    EXPECT_EQ(leaves, (std::vector<std::pair<int, bool>>{{1, true}}));
    EXPECT_EQ(exits, (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(w.grid->GetCell(1, 1), "25");

    QTest::keyClick(ed, Qt::Key_Down);
    settle();
    EXPECT_EQ(leaves, (std::vector<std::pair<int, bool>>{{1, true}, {2, false}}));
    EXPECT_EQ(exits, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}}));

    // Leaving the grid reports the row once more, unchanged, and empties a zero (BlankNull).
    w.other->setFocus();
    settle();
    EXPECT_EQ(leaves.back(), (std::pair<int, bool>{3, false}));
    EXPECT_EQ(leaves.size(), 3u);
    EXPECT_EQ(w.grid->GetCell(1, 3), "");
    EXPECT_EQ(w.grid->InplaceEditor()->text(), QString());
    w.grid->BlankNull = false;
    w.grid->setFocus();
    w.grid->SetCurrentCell(1, 4);
    settle();
    w.other->setFocus();
    settle();
    EXPECT_EQ(w.grid->GetCell(1, 4), "0");
}

TEST(TAStringGrid, EnterMovesLikeTabAndReadOnlyColumnsAreSkipped)
{
    Window w;
    configureMenuPlan(w.grid);
    w.show();
    w.grid->SetCurrentCell(1, 4);
    settle();
    QTest::keyClick(w.grid->InplaceEditor(), Qt::Key_Return);
    settle();
    // Right of the portions only read-only columns follow: back to the portions column.
    EXPECT_EQ(w.grid->Col(), 1);
    EXPECT_EQ(w.grid->Row(), 4);

    TAStringGrid* g = w.grid;
    g->SetColNames(TColNames{"|20|0|1|1|", "A|40|L|0", "B|40|L|1", "C|40|L|0", "D|40|L|1"});
    g->SetCurrentCell(3, 2);
    settle();
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(g->Col(), 1); // leftwards onto B lands on A
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Tab);
    settle();
    EXPECT_EQ(g->Col(), 3); // rightwards onto B lands on C
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Tab);
    settle();
    EXPECT_EQ(g->Col(), 1); // past the last editable column: the first one
}

TEST(TAStringGrid, CanCellEditAndEnterRowInputDecideTheEditor)
{
    Window w;
    configureMenuPlan(w.grid);
    std::vector<int> entered;
    w.grid->OnEnterRowInput = [&](TAStringGrid*, int row, int&) { entered.push_back(row); };
    // Row 3 is locked by its owner although the column is editable.
    w.grid->OnCanCellEdit = [](TAStringGrid*, int, int row, bool& canEdit) {
        if (row == 3)
            canEdit = false;
    };
    w.show();
    w.grid->SetCurrentCell(1, 2);
    settle();
    ASSERT_TRUE(w.grid->InplaceEditor()->isVisible());
    w.grid->SetCurrentCell(1, 3);
    settle();
    EXPECT_FALSE(w.grid->EditorMode());
    EXPECT_FALSE(w.grid->InplaceEditor()->isVisible());
    w.grid->SetCurrentCell(1, 4);
    settle();
    EXPECT_TRUE(w.grid->EditorMode());
    EXPECT_TRUE(w.grid->InplaceEditor()->isVisible());
    EXPECT_EQ(w.grid->InplaceEditor()->Row(), 4);
    w.grid->SetCurrentCell(1, 4); // same row: no second report
    settle();
    EXPECT_EQ(entered.back(), 4);
    EXPECT_EQ(std::count(entered.begin(), entered.end(), 4), 1);
}

TEST(TAStringGrid, CheckBoxCellToggledBySecondClick)
{
    Window w;
    w.grid->SetRowCount(5);
    w.grid->SetColNames(TColNames{"|20|0|1|1|", " S|19|X|0|1|", "Rezept|100|L|1|0|"});
    w.grid->SetCell(1, 2, "0");
    w.show();
    const QRect r = w.grid->visualRect(w.grid->GridModel()->index(1, 0));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, r.center());
    settle();
    EXPECT_EQ(w.grid->Row(), 2);
    EXPECT_EQ(w.grid->GetCell(1, 2), "0");
    EXPECT_FALSE(w.grid->InplaceEditor() && w.grid->InplaceEditor()->isVisible());
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, r.center());
    settle();
    EXPECT_EQ(w.grid->GetCell(1, 2), "1");
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, r.center());
    settle();
    EXPECT_EQ(w.grid->GetCell(1, 2), "0");
    // A blank typed on the check box cell toggles it too, and reports the cell's exit.
    std::vector<int> exits;
    w.grid->OnExitEdit = [&](TAInplaceEdit*, int col, int row, int art, std::string&) {
        EXPECT_EQ(art, 3);
        exits.push_back(col + row * 256);
    };
    QTest::keyClick(w.grid, Qt::Key_Space);
    settle();
    EXPECT_EQ(w.grid->GetCell(1, 2), "1");
    EXPECT_EQ(exits, std::vector<int>{1 + 2 * 256});
    w.grid->OnExitEdit = nullptr;
    QTest::keyClick(w.grid, Qt::Key_Space);
    settle();
    EXPECT_EQ(w.grid->GetCell(1, 2), "0");
    // Without goEditing (the recipe list) clicks never toggle.
    w.grid->SetOptions(w.grid->Options() & ~goEditing);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, r.center());
    settle();
    EXPECT_EQ(w.grid->GetCell(1, 2), "0");
}

// ---- painting ------------------------------------------------------------------------------

namespace {

bool hasDarkPixel(const QImage& img, const QRect& r)
{
    for (int y = r.top() + 2; y < r.bottom() - 1; ++y)
        for (int x = r.left() + 2; x < r.right() - 1; ++x)
            if (qGray(img.pixel(x, y)) < 100)
                return true;
    return false;
}

} // namespace

TEST(TAStringGrid, PaintsBlankZerosCheckBoxesAndRowFinder)
{
    Window w;
    TAStringGrid* g = w.grid;
    g->SetOptions(g->Options() & ~goEditing);
    g->SetRowCount(6);
    g->SetColNames(TColNames{"|20|0|1|1|", "Menge|60|3|1||", " S|19|X|1|1|", "Text|60|L|1|0|"});
    g->SetCell(1, 1, "0,000");
    g->SetCell(1, 2, "1,000");
    g->SetCell(2, 1, "255");
    g->SetCell(2, 2, "1");
    g->SetCell(3, 3, "0");
    g->SetMitZeilenFinder(true);
    w.show();
    g->clearSelection();
    g->selectionModel()->clearCurrentIndex();
    settle();
    const QImage img = g->viewport()->grab().toImage();
    auto rectOf = [&](int col, int row) {
        return g->visualRect(g->GridModel()->index(row - 1, col - 1));
    };
    EXPECT_EQ(g->GetCell(1, 1), "0,000");
    EXPECT_FALSE(hasDarkPixel(img, rectOf(1, 1)));
    EXPECT_TRUE(hasDarkPixel(img, rectOf(1, 2)));
    EXPECT_FALSE(hasDarkPixel(img, rectOf(2, 1)));
    EXPECT_TRUE(hasDarkPixel(img, rectOf(2, 2)));
    EXPECT_TRUE(hasDarkPixel(img, rectOf(3, 3))); // "0" is only blank in number columns
    // Rows 1, 3, 5 shaded, 2 and 4 not.
    for (int row = 1; row <= 5; ++row) {
        const QRect r = rectOf(3, row);
        const QColor c = img.pixelColor(r.right() - 3, r.top() + 3);
        EXPECT_EQ(c, row % 2 ? QColor(230, 230, 230) : g->palette().color(QPalette::Base)) << row;
    }
    g->SetMitZeilenFinder(false);
    settle();
    const QImage plain = g->viewport()->grab().toImage();
    const QRect r1 = rectOf(3, 1);
    EXPECT_EQ(plain.pixelColor(r1.right() - 3, r1.top() + 3), g->palette().color(QPalette::Base));
}

// ---- sorting -------------------------------------------------------------------------------

namespace {

struct RecipeRow : TGridInfo {
    explicit RecipeRow(std::string n) : name(std::move(n)) {}
    std::string name;
};

void fillRecipes(TAStringGrid* g, const std::vector<std::pair<std::string, std::string>>& rows,
                 std::vector<std::unique_ptr<RecipeRow>>& owned)
{
    g->SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        g->SetCell(2, r, rows[i].first);
        g->SetCell(4, r, rows[i].second);
        if (!rows[i].first.empty()) {
            owned.push_back(std::make_unique<RecipeRow>(rows[i].first));
            g->SetObjects(0, r, owned.back().get());
        }
    }
}

std::vector<std::string> column(TAStringGrid* g, int col)
{
    std::vector<std::string> out;
    for (int r = 1; r < g->RowCount(); ++r)
        out.push_back(g->GetCell(col, r));
    return out;
}

void configureRecipeList(TAStringGrid* g)
{
    g->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                  goDrawFocusSelected | goTabs | goRowSelect | goThumbTracking);
    g->AutoColResize = false;
    g->SetColNames(TColNames{"|20|0|1|1|", " S|19|X|1|1|Auswahl eines Rezeptes",
                             "Rezept|100|L|1|0|Rezepturenbezeichnung", "Rezeptgruppe|100|L|1|0|",
                             "Portionen|50|0|1|0|Portionsanzahl", "|200|0|1||"});
}

} // namespace

TEST(TAStringGrid, HeaderDoubleClickSortsAndCycles)
{
    Window w(700);
    TAStringGrid* g = w.grid;
    configureRecipeList(g);
    std::vector<std::unique_ptr<RecipeRow>> owned;
    fillRecipes(g, {{"Suppe", "10"}, {"", ""}, {"Brot", "9"}, {"Salat", "100"}, {"Eintopf", "9"}},
                owned);
    int dblClicks = 0;
    std::vector<int> sortBegins;
    g->OnDblClick = [&](TAStringGrid*) { ++dblClicks; };
    g->OnSortBegin = [&](TAStringGrid*, int ab, int zahl, bool&) {
        sortBegins.push_back(ab * 100 + zahl);
    };
    w.show();
    g->SetCurrentCell(2, 1); // "Suppe" is followed
    settle();
    QHeaderView* h = g->horizontalHeader();
    const auto headerCentre = [&](int col) {
        return QPoint(h->sectionViewportPosition(col - 1) + h->sectionSize(col - 1) / 2,
                      h->height() / 2);
    };

    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, headerCentre(4));
    EXPECT_EQ(column(g, 4), (std::vector<std::string>{"9", "9", "10", "100", ""}));
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"Brot", "Eintopf", "Suppe", "Salat", ""}));
    EXPECT_EQ(static_cast<RecipeRow*>(g->Objects(0, 1))->name, "Brot");
    EXPECT_EQ(g->Objects(0, 5), nullptr);
    EXPECT_EQ(g->Row(), 3); // the followed row
    EXPECT_EQ(dblClicks, 1);
    EXPECT_EQ(sortBegins, std::vector<int>{105});
    EXPECT_EQ(h->sortIndicatorSection(), 3);
    EXPECT_EQ(h->sortIndicatorOrder(), Qt::AscendingOrder);

    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, headerCentre(4));
    EXPECT_EQ(column(g, 4), (std::vector<std::string>{"100", "10", "9", "9", ""}));
    EXPECT_EQ(h->sortIndicatorOrder(), Qt::DescendingOrder);
    // Equal keys keep their order: Brot stays above Eintopf.
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"Salat", "Suppe", "Brot", "Eintopf", ""}));
    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, headerCentre(4));
    EXPECT_EQ(column(g, 4), (std::vector<std::string>{"9", "9", "10", "100", ""}));

    // Another column starts ascending.
    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, headerCentre(2));
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"Brot", "Eintopf", "Salat", "Suppe", ""}));
    EXPECT_EQ(g->SortTyp()[2], '1');
    EXPECT_EQ(g->SortTyp()[4], '1');
    EXPECT_EQ(h->sortIndicatorSection(), 1);

    // OnSortBegin can refuse.
    g->OnSortBegin = [](TAStringGrid*, int, int, bool& allow) { allow = false; };
    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, headerCentre(2));
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"Brot", "Eintopf", "Salat", "Suppe", ""}));
    // A changed text in the sorted column: the order is no longer known to hold.
    g->SetCell(2, 1, "Zwiebel");
    EXPECT_EQ(h->sortIndicatorSection(), -1);
}

TEST(TAStringGrid, SortMarkiertSortsOnlyTheSelectedRows)
{
    TAStringGrid g;
    configureRecipeList(&g);
    g.SetOptions(g.Options() | goRangeSelect);
    std::vector<std::unique_ptr<RecipeRow>> owned;
    fillRecipes(&g, {{"E", "5"}, {"D", "4"}, {"C", "3"}, {"B", "2"}, {"A", "1"}}, owned);
    g.SetCurrentCell(2, 2);
    g.selectionModel()->select(
        QItemSelection(g.GridModel()->index(1, 0), g.GridModel()->index(3, 4)),
        QItemSelectionModel::ClearAndSelect);
    int compares = 0;
    g.OnSortCompare = [&](TAStringGrid*, int col, int sortRow, std::string&, std::string&,
                          TGridInfo*& o1, TGridInfo*&, int&, int&) {
        ++compares;
        EXPECT_EQ(col, 2);
        EXPECT_GE(sortRow, 2);
        EXPECT_LE(sortRow, 3);
        EXPECT_NE(o1, nullptr);
    };
    g.SortColumn(2, 1);
    EXPECT_GT(compares, 0);
    EXPECT_EQ(column(&g, 2), (std::vector<std::string>{"E", "B", "C", "D", "A"}));
    EXPECT_EQ(g.SortTyp()[2], '0'); // a coded sort leaves SortTyp alone
    g.SortMarkiert = false;
    g.OnSortCompare = nullptr;
    g.SortColumn(2, 2); // descending, all rows
    EXPECT_EQ(column(&g, 2), (std::vector<std::string>{"E", "D", "C", "B", "A"}));
    // A column added by code beyond the definitions sorts as text without keeping state.
    g.SetColCount(7);
    g.SetCell(6, 1, "b");
    g.SetCell(6, 2, "a");
    g.SortColumn(6, 0);
    EXPECT_EQ(column(&g, 6), (std::vector<std::string>{"", "", "", "a", "b"}));
    EXPECT_EQ(g.SortTyp().size(), 6u);
}

// ---- widths --------------------------------------------------------------------------------

TEST(TAStringGrid, HeaderBordersFitByDoubleClickAndDragWhereTheColumnAllows)
{
    Window w(700);
    TAStringGrid* g = w.grid;
    configureRecipeList(g);
    g->SetAutoColumnWidths(true);
    g->SetRowCount(3);
    g->SetCell(2, 1, "Ein sehr langer Rezeptname mit vielen Worten");
    int dblClicks = 0;
    g->OnDblClick = [&](TAStringGrid*) { ++dblClicks; };
    w.show();
    ASSERT_TRUE(g->AutoWidthsActive());
    QHeaderView* h = g->horizontalHeader();
    const int border = h->sectionViewportPosition(1) + h->sectionSize(1);
    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, QPoint(border - 2, h->height() / 2));
    settle();
    EXPECT_EQ(g->ColWidths(2), g->fontMetrics().horizontalAdvance(
                                   QStringLiteral("Ein sehr langer Rezeptname mit vielen Worten")) +
                                   6);
    EXPECT_EQ(dblClicks, 0);
    EXPECT_EQ(g->GetCell(2, 1), "Ein sehr langer Rezeptname mit vielen Worten"); // not sorted
    // The fit is the user's choice: the automatic widths end, a wider view changes no column.
    EXPECT_FALSE(g->AutoWidthsActive());
    const int group = g->ColWidths(3);
    w.top.resize(900, 400);
    settle();
    EXPECT_EQ(g->ColWidths(3), group);

    // A border is dragged where the column's ColSizing allows it, although the list's Options
    // lack goColSizing; the S column keeps its width.
    const auto drag = [h](int col, int by) {
        const QPoint from(h->sectionViewportPosition(col - 1) + h->sectionSize(col - 1) - 1,
                          h->height() / 2);
        const QPoint to = from + QPoint(by, 0);
        QMouseEvent press(QEvent::MouseButtonPress, from, h->viewport()->mapToGlobal(from),
                          Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent move(QEvent::MouseMove, to, h->viewport()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, to, h->viewport()->mapToGlobal(to),
                            Qt::LeftButton, Qt::NoButton, {});
        for (QMouseEvent* e : {&press, &move, &release})
            QApplication::sendEvent(h->viewport(), e);
    };
    const int name = g->ColWidths(2), check = g->ColWidths(1);
    drag(2, 30);
    drag(1, 30);
    EXPECT_EQ(g->ColWidths(2), name + 30);
    EXPECT_EQ(g->ColWidths(1), check);
}

TEST(TAStringGrid, AutomaticWidthsFollowTextsAndViewUntilTheUserSizesAColumn)
{
    TestDir dir;
    SettingsStore::setDefaultFileName(QString::fromStdString(dir.dir() + "registry.conf"));
    const QString key = QStringLiteral("Software\\kovanta\\SDIAppForm\\StringGrid2");
    {
        Window w(500);
        TAStringGrid* g = w.grid;
        configureMenuPlan(g);
        g->SaveSettings.RegistryKey = QStringLiteral("Software\\kovanta\\SDIAppForm");
        g->SetAutoColumnWidths(true);
        g->Loaded();
        const std::string name = "Schokoladenpudding mit Vanilleso\xDF"
                                 "e"; // ANSI ß
        g->SetCell(2, 1, name);
        w.show();
        settle();
        QHeaderView* h = g->horizontalHeader();
        const auto total = [g] {
            return g->ColWidths(1) + g->ColWidths(2) + g->ColWidths(3) + g->ColWidths(4);
        };
        // Captions and texts whole; the empty unlabelled column takes nothing; the view's
        // remaining width goes to the text columns.
        for (int c = 1; c <= 3; ++c)
            EXPECT_GE(g->ColWidths(c), h->sectionSizeHint(c - 1)) << c;
        EXPECT_GE(g->ColWidths(2), g->fontMetrics().horizontalAdvance(ansiToQString(name)) + 6);
        EXPECT_EQ(g->ColWidths(4), 0);
        EXPECT_EQ(total(), g->viewport()->width());
        const int group = g->ColWidths(3);
        w.top.resize(800, 400);
        settle();
        EXPECT_GT(g->ColWidths(3), group);
        EXPECT_EQ(total(), g->viewport()->width());
        EXPECT_EQ(g->ColWidths(1), h->sectionSizeHint(0)) << "numbers do not grow";
        const int natural = g->NaturalWidth();
        g->SetCell(3, 2, std::string(60, 'W'));
        settle();
        EXPECT_GT(g->NaturalWidth(), natural);
    }
    {
        SettingsStore store;
        EXPECT_EQ(store.readString(key, QStringLiteral("Sizes"), QStringLiteral("-")),
                  QStringLiteral("-"))
            << "automatic widths are fitted again at the next start";
    }
    SettingsStore::setDefaultFileName({});
}

// Designed sizes are multiplied by the UI scale and limited to the grid; stored ones are read
// piece by piece, win over automatic widths and later column definitions, and are written back
// in designed pixels, so one settings file means the same on every screen.
TEST(TAStringGrid, SizesAreScaledLimitedStoredUnscaledAndReadBack)
{
    TestDir dir;
    SettingsStore::setDefaultFileName(QString::fromStdString(dir.dir() + "registry.conf"));
    const QString key = QStringLiteral("Software\\kovanta\\SDIAppForm\\StringGrid1");
    const TColNames names{"|5|0|1|1|", "A|400|L", "B|30", "C"};
    const auto open = [&](QWidget& top, bool autoWidths) {
        auto* g = new TAStringGrid(&top);
        g->setObjectName(QStringLiteral("StringGrid1"));
        g->resize(315, 200);
        g->SaveSettings.RegistryKey = QStringLiteral("Software\\kovanta\\SDIAppForm");
        // A UI font twice the design font's height: everything designed doubles.
        g->SetUiScale(UiScale::fromFontHeight(26));
        g->SetDefaultRowHeight(18);
        g->SetRowCount(5);
        g->SetColNames(names);
        g->SetAutoColumnWidths(autoWidths);
        g->Loaded();
        top.show();
        settle();
        return g;
    };
    {
        // First start: nothing stored, the designed widths are scaled and limited to the grid.
        QWidget top;
        TAStringGrid* g = open(top, false);
        EXPECT_EQ(g->ColWidths(0), 10);
        EXPECT_EQ(g->ColWidths(1), 300) << "at most the grid width - 15";
        EXPECT_EQ(g->ColWidths(2), 60);
        EXPECT_EQ(g->ColWidths(3), 128) << "an empty width is the scaled default";
        EXPECT_EQ(g->DefaultRowHeight(), 18);
        EXPECT_EQ(g->RowHeights(0), 36);
        EXPECT_EQ(g->RowHeights(3), 36);
        g->SetColWidths(2, 171); // the user drags the column
    }
    {
        SettingsStore store;
        EXPECT_EQ(store.readString(key, QStringLiteral("Sizes")), QStringLiteral("5,150,86,64"));
        store.writeString(key, QStringLiteral("Sizes"), QStringLiteral("50,abc,86"));
    }
    {
        QWidget top;
        TAStringGrid* g = open(top, true);
        EXPECT_FALSE(g->AutoWidthsActive()) << "stored widths win";
        EXPECT_EQ(g->ColWidths(0), 100);
        EXPECT_EQ(g->ColWidths(1), 10) << "a bad piece is limited like a width of 0";
        EXPECT_EQ(g->ColWidths(2), 172);
        EXPECT_EQ(g->ColWidths(3), 128) << "no piece: keeps its width";
        g->SetColNames(names);
        EXPECT_EQ(g->ColWidths(2), 172) << "restored widths win over later definitions";
        g->SetColWidths(3, 78);
    }
    {
        SettingsStore store;
        EXPECT_EQ(store.readString(key, QStringLiteral("Sizes")), QStringLiteral("50,5,86,39"));
    }
    SettingsStore::setDefaultFileName({});
}

// ---- row moving ----------------------------------------------------------------------------

TEST(TAStringGrid, RowMovingMovesModelRowsAndTheEditorFollows)
{
    Window w;
    configureMenuPlan(w.grid);
    TAStringGrid* g = w.grid;
    RecipeRow a("A"), b("B"), c("C");
    g->SetCell(2, 1, "A");
    g->SetObjects(0, 1, &a);
    g->SetCell(2, 2, "B");
    g->SetObjects(0, 2, &b);
    g->SetCell(2, 3, "C");
    g->SetObjects(0, 3, &c);
    w.show();
    g->SortColumn(2, 2);                    // descending: C, B, A
    g->verticalHeader()->moveSection(2, 0); // drag row 3 above row 1: A, C, B
    EXPECT_EQ(g->horizontalHeader()->sortIndicatorSection(), -1) << "no longer sorted";
    g->SortColumn(2, 1);
    g->verticalHeader()->moveSection(0, 2); // drag row 1 below row 3
    settle();
    EXPECT_EQ(column(g, 2)[0], "B");
    EXPECT_EQ(column(g, 2)[1], "C");
    EXPECT_EQ(column(g, 2)[2], "A");
    EXPECT_EQ(g->Objects(0, 3), &a);
    EXPECT_EQ(g->Objects(0, 1), &b);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g->verticalHeader()->visualIndex(i), i);
    // The current row moves with its recipe, and the editor with it.
    g->SetCell(1, 3, "25");
    g->SetCurrentCell(1, 3);
    settle();
    g->verticalHeader()->moveSection(2, 3);
    settle();
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(g->InplaceEditor()->Row(), 4);
    EXPECT_EQ(g->InplaceEditor()->text(), QStringLiteral("25"));
    for (int r = 1; r <= 4; ++r)
        g->SetObjects(0, r, nullptr); // the stack objects are not the grid's to free
}

// ---- date and time cells -------------------------------------------------------------------

// The keys of dates and times are DateTimeEntry's; the rows here are about the keys the editor
// takes, its masks and what reaches the cell.
TEST(TAStringGrid, DateAndTimeCellsThroughTheEditor)
{
    Window w;
    TAStringGrid* g = w.grid;
    g->SetRowCount(4);
    g->SetColNames(TColNames{"|20|0|1|1|", "Datum|70|D|0||", "Zeit|50|T|0||"});
    g->SetCell(1, 1, "1.2.24");
    g->SetCell(2, 1, "7:05");
    w.show();
    g->SetCurrentCell(1, 1);
    settle();
    TAInplaceEdit* ed = g->InplaceEditor();
    ASSERT_TRUE(ed && ed->hasFocus());
    EXPECT_EQ(g->GetCell(1, 1), "01.02.24");
    QTest::keyClick(ed, Qt::Key_Plus);
    EXPECT_EQ(g->GetCell(1, 1), "02.02.24");
    QTest::keyClick(ed, Qt::Key_Minus);
    EXPECT_EQ(g->GetCell(1, 1), "01.02.24");
    QTest::keyClick(ed, Qt::Key_Delete);
    EXPECT_EQ(g->GetCell(1, 1), ""); // not the mask's separators

    g->SetCurrentCell(2, 1);
    settle();
    EXPECT_EQ(g->GetCell(2, 1), "07:05");
    QTest::keyClick(ed, Qt::Key_N);
    QTest::keyClick(ed, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(g->GetCell(2, 1), "08:06");
    // The main keyboard's "+" and "-" are no time keys (and no characters the mask takes).
    QTest::keyClick(ed, Qt::Key_Plus);
    QTest::keyClick(ed, Qt::Key_Minus);
    EXPECT_EQ(g->GetCell(2, 1), "08:06");
    QTest::keyClick(ed, Qt::Key_Delete);
    EXPECT_EQ(g->GetCell(2, 1), "00:00");
    // 00:00 becomes empty when the editor loses the focus (BlankNull).
    w.other->setFocus();
    settle();
    EXPECT_EQ(g->GetCell(2, 1), "");
}

TEST(StringGridModel, BatchAnnouncesTheWholeGridOnceAndKeepsStructureSignals)
{
    TAStringGrid grid;
    grid.SetColCount(3);
    StringGridModel& model = *grid.GridModel();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.beginBatch();
    grid.SetRowCount(40);
    model.beginBatch(); // nested
    for (int row = 1; row < 40; ++row)
        grid.SetCell(1, row, std::to_string(row));
    model.endBatch();
    EXPECT_EQ(changed.count(), 0);
    model.endBatch();

    EXPECT_EQ(inserted.count(), 1);
    ASSERT_EQ(changed.count(), 1);
    const auto from = changed.at(0).at(0).value<QModelIndex>();
    const auto to = changed.at(0).at(1).value<QModelIndex>();
    EXPECT_EQ(from.row(), 0);
    EXPECT_EQ(to.row(), 38);
    EXPECT_EQ(grid.GetCell(1, 39), "39");

    model.endBatch(); // unbalanced: ignored
    grid.SetCell(1, 1, "x");
    EXPECT_EQ(changed.count(), 2);
}

// ---- number widths -------------------------------------------------------------------------

TEST(TAStringGrid, ANumberWiderThanItsColumnWidensIt)
{
    Window w;
    w.grid->SetColNames(TColNames{"|20|0|1|1|", "Menge|60|3|0||", "Einheit|80|L|1||"});
    w.grid->SetRowCount(4);
    w.show();
    const QFontMetrics fm = w.grid->fontMetrics();
    w.grid->SetCell(1, 1, "      7,500");
    EXPECT_EQ(w.grid->ColWidths(1), 60) << "a number that fits changes nothing";
    w.grid->SetCell(1, 2, "18000000,000");
    const int needed = fm.horizontalAdvance(QStringLiteral("18000000,000"));
    EXPECT_GE(w.grid->ColWidths(1), needed + 5) << "right inset 3, left 2";
    const int widened = w.grid->ColWidths(1);
    // Texts are not widened for: a text column, the header row.
    w.grid->SetCell(2, 1, std::string(60, 'W'));
    EXPECT_EQ(w.grid->ColWidths(2), 80);
    w.grid->SetCell(1, 0, std::string(40, '9'));
    EXPECT_EQ(w.grid->ColWidths(1), widened);
}
