#pragma once

#include "platform/uiscale.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <string_view>

class QFontMetrics;

namespace kovanta {

class AutoWidths;
class TAStringGrid;

// The widest line and the height of the lines of an ANSI text (split at CR, LF removed) in a
// font: what fitting, the editor's widening and the row heights measure.
int textLinesWidth(const QFontMetrics& fm, std::string_view text);
int textLinesHeight(const QFontMetrics& fm, std::string_view text);

// The geometry of a TAStringGrid: column widths and row heights in grid coordinates (column 0
// is the view's row header, row 0 its column header), the designed sizes scaled by the layout
// scale, which borders the user may drag, fitting columns and rows to their texts, the sort
// arrow in the header, and the stored sizes (with the automatic widths, AutoWidths, which
// decide while nobody has sized the columns).
class StringGridLayout : public QObject {
    Q_OBJECT
public:
    explicit StringGridLayout(TAStringGrid* grid);
    ~StringGridLayout() override;

    int colWidth(int col) const;
    void setColWidth(int col, int width);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);
    int defaultColWidth() const { return defaultColWidth_; }
    void setDefaultColWidth(int width);
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int height);
    const UiScale& uiScale() const { return uiScale_; }
    void setUiScale(const UiScale& scale);
    // A column's designed width, scaled (none or 0 in its definition: the default width).
    int designedWidth(int col) const;

    QPoint cellAt(QPoint gridPos) const;
    QRect cellRect(int col, int row) const;

    // After the column count grew from oldCount: the new columns get the default width.
    void columnsAdded(int oldCount);
    // After new column definitions: their widths, unless widths were restored from the settings.
    void applyDesignedWidths();
    // Which borders can be dragged: a column's ColSizing, asked again of OnCanColSizing as the
    // mouse moves over a cell.
    void applyColumnResizeModes();
    // The mouse moved over a cell (header row 0, header column 0; -1 outside): OnCanColSizing,
    // and OnMoveNewCell when it is another cell than before.
    void mouseOverCell(QPoint cell);
    // A number wider than its column widens it.
    void widenForNumber(int col, std::string_view text);

    void fitColumns(int c, bool force);
    void fitColumn(int c);
    void fitRowHeight(int row);
    void stretchLastColumn();
    // The editor had to widen into the column after it: fitted again with AutoColResize.
    void refitAfterEditorWidening(int col);
    // With goRowSizing: the current row at least as high as the editor's text plus a blank.
    void fitRowToEditor(std::string_view text);

    // The sort arrow in the header of col; cleared when col < 0.
    void showSortIndicator(int col, bool ascending);

    AutoWidths& autoWidths() const { return *autoWidths_; }
    // The column widths come from the settings: they win over designed and automatic widths.
    bool widthsRestored() const { return widthsRestored_; }
    // Stored sizes: restored when the grid was loaded, stored when it goes.
    void restoreStoredSizes();
    void storeSizes();

    // The view's events.
    void fontChanged();
    void shown();
    void resized();

private:
    void limitColumnWidths();

    TAStringGrid* grid_;
    AutoWidths* autoWidths_ = nullptr;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 18;
    UiScale uiScale_;
    int col0Width_ = 64;
    int row0Height_ = 18;
    // The widest character a plain number can hold, in the grid's font; 0 until measured.
    int numberCharWidth_ = 0;
    bool widthsRestored_ = false;
    bool limitPending_ = false;
    QPoint hoverCell_{-2, -2};
};

} // namespace kovanta
