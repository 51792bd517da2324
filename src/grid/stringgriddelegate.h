#pragma once

#include "grid/core/cellrules.h"
#include "recipe/records.h"

#include <QPixmap>
#include <QStyledItemDelegate>

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kovanta {

class TAStringGrid;

// Painting hooks a row object can attach to a cell through TGridInfo::CellColors. Not owned by
// the row object or the grid.
class GridCellPainter : public CellPainter {
public:
    // Called after the cell was filled with its background. Setting flag makes the grid draw the
    // text from then on into the rect shrunk by 2 left, 2 top and 3 right, without background.
    virtual void BeforeDraw(TGridInfo* rowObject, int col, int row, QPainter& canvas,
                            const QRect& rect, const grid::CellState& state, bool& flag);
    // Called after the cell was painted completely.
    virtual void AfterDraw(TGridInfo* rowObject, int col, int row, QPainter& canvas,
                           const QRect& rect, const grid::CellState& state, bool& flag);
};

// Paints the data cells of a TAStringGrid from its model by the grid's rules: alignment per
// data type, blank zeros, check boxes, multi-line texts, bitmaps from OnGetDrawBitmap,
// selection colours, the row finder and the colours and painters of the row objects. The
// decisions themselves are the plain functions of grid/core/cellrules.h. Creates no editors
// (the grid has its own).
class StringGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit StringGridDelegate(TAStringGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return nullptr;
    }

    // What cell (col, row) shows: its text after OnGetDrawCellText, whether the hook left the
    // painting to the grid, and whether the blank rule of its column empties it. Headers,
    // painting and measuring all go by it.
    struct Shown {
        std::string text;
        bool canDraw = true;
        bool blank = false;
        const std::string& visible() const;
    };
    Shown shownCell(int col, int row) const;
    // The width a cell of column col takes for what it shows: its widest painted line.
    int paintedWidth(int col, const Shown& shown) const;

    // The tooltip of a cell: the column hint or OnGetHintText's answer, its part before "|".
    QString hintOf(int col, int row) const;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The lines a text is painted as: multi-line kinds split at CR (LF removed), every other
    // kind as one line; control characters become blanks, as everywhere recipe text is shown.
    static std::vector<std::string> paintedLines(grid::CellKind kind, std::string_view text);

    // A colour value (0x00BBGGRR, or a system colour such as clHighlight) as QColor.
    static QColor toQColor(int tcolor, const QPalette& palette);

    // The four check-box pictures: empty, checked, empty selected, checked selected.
    const std::array<QPixmap, 4>& checkBoxPictures() const { return checkBoxes_; }

private:
    // The grid's own painting of a cell whose text hook left it to the grid.
    void paintCell(QPainter& p, const QStyleOptionViewItem& option, int col, int row,
                   const Shown& shown, grid::CellKind kind, const grid::CellState& state,
                   const grid::CellColourChoice& colours, QColor background,
                   QColor foreground) const;

    TAStringGrid* grid_;
    std::array<QPixmap, 4> checkBoxes_;
};

} // namespace kovanta
