#pragma once

#include "grid/agridsettings.h"
#include "grid/autowidths.h"
#include "grid/core/cellrules.h"
#include "grid/core/colnames.h"
#include "grid/core/datetimeentry.h"
#include "grid/core/numberentry.h"
#include "grid/gridoptions.h"
#include "grid/stringgriddelegate.h"
#include "grid/stringgridevents.h"
#include "grid/stringgridinput.h"
#include "grid/stringgridlayout.h"
#include "grid/stringgridmodel.h"
#include "platform/uiscale.h"
#include "recipe/records.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QTableView>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kovanta {

class TAInplaceEdit;

using grid::TColNames;
using grid::TJahreszahl;

// TAStringGrid: the editable, sortable list grid of the recipe list, the menu plan and the
// requirements list. A QTableView over a StringGridModel: grid row 0 and column 0 live in the
// model and are shown as the view's header row and column; everything else is addressed in
// grid coordinates (col, row) as well, so row 1 is the first data row.
//
// The class carries the grid's properties, events and operations; the work is done by its
// parts: the model (cells and column definitions), the delegate (what a cell shows and how it
// is painted), the layout (widths, heights, automatic widths, stored sizes) and the input
// (selection, keys, mouse and the cell editor TAInplaceEdit).
//
// Cell texts are ANSI byte strings. Row objects (column 0) are not owned: the grid holds
// pointers; their owner clears them (SetObjects(0, row, nullptr)) before freeing the objects.
// Events are optional std::function fields called after the grid's own work; an empty one is
// skipped.
class TAStringGrid : public QTableView, public StringGridEvents {
    Q_OBJECT
public:
    explicit TAStringGrid(QWidget* parent = nullptr);
    ~TAStringGrid() override;

    // ---- cells -----------------------------------------------------------------------------
    int ColCount() const { return model_->colCount(); }
    int RowCount() const { return model_->gridRowCount(); }
    void SetColCount(int count);
    void SetRowCount(int count);
    static constexpr int FixedCols = 1;
    static constexpr int FixedRows = 1;

    // Out-of-range cells read as "" / nil.
    std::string GetCell(int col, int row) const { return model_->cell(col, row); }
    // Writes only when the text differs (no repaint otherwise). A number (columns of type
    // 0..9) wider than its data cell widens the column, so that no digit is ever cut off.
    void SetCell(int col, int row, std::string_view text);
    TGridInfo* Objects(int col, int row) const { return model_->object(col, row); }
    void SetObjects(int col, int row, TGridInfo* object) { model_->setObject(col, row, object); }
    // Repaints one row.
    virtual void RefreshRow(int row) { model_->refreshRow(row); }

    // ---- current cell and selection --------------------------------------------------------
    int Col() const;
    int Row() const;
    void SetCol(int col) { SetCurrentCell(col, Row()); }
    void SetRow(int row) { SetCurrentCell(Col(), row); }
    void SetCurrentCell(int col, int row);
    // The selected rows, top to bottom (the current row when nothing is selected).
    std::vector<int> SelectedRows() const;

    // ---- geometry --------------------------------------------------------------------------
    int ColWidths(int col) const { return layout_->colWidth(col); }
    void SetColWidths(int col, int width) { layout_->setColWidth(col, width); }
    int RowHeights(int row) const { return layout_->rowHeight(row); }
    void SetRowHeights(int row, int height) { layout_->setRowHeight(row, height); }
    // The defaults are designed sizes: they are applied scaled by UiScale().
    int DefaultColWidth() const { return layout_->defaultColWidth(); }
    void SetDefaultColWidth(int width) { layout_->setDefaultColWidth(width); }
    int DefaultRowHeight() const { return layout_->defaultRowHeight(); }
    void SetDefaultRowHeight(int height) { layout_->setDefaultRowHeight(height); }
    // The layout scale: designed widths (column definitions, defaults, fitting) are multiplied
    // by it when applied, and the stored "Sizes" are kept in designed pixels (divided by it when
    // written, multiplied when read), so a settings file means the same on every screen. The
    // identity by default. Set it before the column definitions and Loaded(); setting it later
    // applies the defaults again, but not the column widths.
    const UiScale& uiScale() const { return layout_->uiScale(); }
    void SetUiScale(const UiScale& scale) { layout_->setUiScale(scale); }

    GridOptions Options() const { return options_; }
    void SetOptions(GridOptions options);
    bool hasOption(GridOption o) const { return (options_ & o) != 0; }

    // ---- column definitions ----------------------------------------------------------------
    const TColNames& ColNames() const { return colNames_; }
    // Rebuilds the per-column state, sets ColCount to the number of entries, writes the
    // captions into row 0 and applies the widths unless widths were restored from the
    // settings. An empty list leaves columns, captions and widths alone.
    void SetColNames(const TColNames& names);
    const std::string& SortTyp() const { return ColumnDefs().sortTyp; }
    const std::string& DatenTyp() const { return ColumnDefs().datenTyp; }
    const std::string& ReadOnly() const { return ColumnDefs().readOnly; }
    const std::string& ColSizing() const { return ColumnDefs().colSizing; }
    const grid::ColumnDefs& ColumnDefs() const { return model_->columns(); }
    // The editor kind of a cell: from DatenTyp, then OnGetEditorArt.
    int EditArtOf(int col, int row);
    bool ColumnEditable(int col) const { return ColumnDefs().editable(col); }

    // ---- published properties -------------------------------------------------------------
    TJahreszahl Jahreszahl = TJahreszahl::zweistellig;
    bool MitZeilenFinder() const { return mitZeilenFinder_; }
    void SetMitZeilenFinder(bool on);
    TColor ZeilFindColor() const { return zeilFindColor_; }
    void SetZeilFindColor(TColor color);
    bool AutoColResize = true;
    bool ColWidthEinzel = false;
    bool OnDrawAfterDraw = false;
    TColor EditBgColor = 14811135;
    TColor HideSelColor = clNone;
    bool HideSelektion = false;
    bool VorgabeJetzt = false;
    bool AutoEditSelect = true;
    bool BlankNull = true;
    bool SortAutomatik = true;
    bool SortMarkiert = true;
    bool SortObjectUsed = true;
    bool EditBorder = false;
    TAGridSaveSettings SaveSettings;
    int ColorBorderWidth = 1;
    bool NoReadOnlySelect = true;
    TVemoCalc* VemoCalc = nullptr;
    bool KeyCalkMwst() const { return keyCalc_.mwst; }
    bool KeyCalkSkonto() const { return keyCalc_.skonto; }
    bool KeyCalkEUR() const { return keyCalc_.eur; }
    bool KeyCalkATS() const { return keyCalc_.ats; }
    // Setting one passes it on to an existing editor.
    void SetKeyCalkMwst(bool on) { setKeyCalc(&grid::KeyCalcSwitches::mwst, on); }
    void SetKeyCalkSkonto(bool on) { setKeyCalc(&grid::KeyCalcSwitches::skonto, on); }
    void SetKeyCalkEUR(bool on) { setKeyCalc(&grid::KeyCalcSwitches::eur, on); }
    void SetKeyCalkATS(bool on) { setKeyCalc(&grid::KeyCalcSwitches::ats, on); }
    bool MinusIgnore = false;

    // ---- sorting and widths ----------------------------------------------------------------
    // Mode 0: the header double-click (SortTyp decides and advances); 1..4: SortArt 0..3,
    // SortTyp untouched. Modes above 4 do nothing.
    void SortColumn(int col, int mode = 0);
    int LastSortedColumn() const { return lastSortCol_; }
    // Fits column c (and, unless ColWidthEinzel, all columns to its right); c < 0 fits every
    // column and every data row's height. Runs when force or AutoColResize is set. The last
    // column is stretched afterwards.
    void FitColumns(int c, bool force) { layout_->fitColumns(c, force); }
    void FitColumn(int c) { layout_->fitColumn(c); }
    void FitRowHeight(int row) { layout_->fitRowHeight(row); }
    void StretchLastColumn() { layout_->stretchLastColumn(); }

    // ---- automatic column widths -----------------------------------------------------------
    // With it on, the columns follow their texts and the view for as long as nobody has sized
    // them: every caption whole, every text shown, and the width the view has over shared by
    // the text columns with a caption (grid::autoColumnWidths), refitted after every change of
    // texts or view width. Widths restored from the settings, a header border dragged and the
    // header double-click fit make the widths the user's: from then on nothing is fitted
    // automatically, and "Sizes" is stored as before. While the widths are automatic, "Sizes"
    // is not written, so the next start fits them again. Off by default.
    void SetAutoColumnWidths(bool on) { layout_->autoWidths().setEnabled(on); }
    bool AutoColumnWidths() const { return layout_->autoWidths().enabled(); }
    // The automatic widths decide now (on, and no widths of the user's).
    bool AutoWidthsActive() const { return layout_->autoWidths().active(); }
    // The width the grid needs to show every column at its natural width
    // (grid::naturalColumnWidth, texts not limited), with the row header, the frame and a
    // vertical scroll bar: the width a panel holding only this grid fits it at.
    int NaturalWidth() { return layout_->autoWidths().naturalWidth(); }

    // ---- life cycle ------------------------------------------------------------------------
    // The end of configuration (the form has been loaded): applies ColNames again and, with
    // SaveSettings.AutoSave, restores size and column widths from the settings store. Call
    // once, after objectName, ColNames and SaveSettings are set. Restored widths are limited to
    // the grid width once the grid is laid out (before that its width is not known).
    void Loaded();
    // Writes "Sizes" (and "GridHeight"/"GridWidth" when asked for). Runs at destruction when
    // the grid was loaded.
    void SaveGridSettings() { layout_->storeSizes(); }

    // ---- editor ----------------------------------------------------------------------------
    // The in-place editor, created on first need when goEditing is set; nullptr otherwise.
    TAInplaceEdit* InplaceEditor() const { return input_->editor(); }
    // The editor-shown check: the per-column strings cover every column, the column is
    // editable, its type is neither X nor P, and the grid is editing.
    bool CanEditShow() const { return input_->canEditShow(); }
    // The same, plus goEditing and goAlwaysShowEditor without goRowSelect.
    bool CellEditableForSync() const;
    bool EditorMode() const { return input_->editorMode(); }
    void SetEditorMode(bool on) { input_->setEditorMode(on); }

    // The model behind the view (for tests and printing).
    StringGridModel* GridModel() const { return model_; }
    // The cell under a point of the grid widget (header row = row 0, header column = col 0;
    // -1 outside) and a cell's rectangle in grid widget coordinates.
    QPoint CellAt(QPoint gridPos) const { return layout_->cellAt(gridPos); }
    QRect CellRect(int col, int row) const { return layout_->cellRect(col, row); }
    // The four check-box pictures: empty, checked, empty selected, checked selected.
    const std::array<QPixmap, 4>& CheckBoxPictures() const { return delegate_->checkBoxPictures(); }

signals:
    // NaturalWidth() changed (texts, captions or the font changed).
    void naturalWidthChanged();

protected:
    // The view's events, handed to the parts after (or instead of) the view's own handling.
    bool event(QEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        QTableView::currentChanged(current, previous);
        input_->currentChanged(current, previous);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!input_->keyPressed(e))
            QTableView::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        input_->mousePressed(e, [this, e] { QTableView::mousePressEvent(e); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QTableView::mouseReleaseEvent(e);
        input_->mouseReleased(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        QTableView::mouseDoubleClickEvent(e);
        input_->doubleClicked(viewport()->mapTo(this, e->position().toPoint()));
    }
    void showEvent(QShowEvent* e) override
    {
        QTableView::showEvent(e);
        layout_->shown();
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QTableView::focusInEvent(e);
        input_->gridFocused();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QTableView::resizeEvent(e);
        layout_->resized();
        input_->placeEditor();
    }
    void scrollContentsBy(int dx, int dy) override
    {
        QTableView::scrollContentsBy(dx, dy);
        input_->placeEditor();
    }

private:
    // The parts reach each other through the grid.
    friend class AutoWidths;
    friend class StringGridInput;
    friend class StringGridLayout;
    friend class TAInplaceEdit;
    void applyColNames();
    void setKeyCalc(bool grid::KeyCalcSwitches::*which, bool on);
    QModelIndex indexOf(int col, int row) const
    {
        return model_->index(row - FixedRows, col - FixedCols);
    }
    StringGridDelegate& delegate() const { return *delegate_; }
    StringGridInput& input() const { return *input_; }
    StringGridLayout& layout() const { return *layout_; }

    StringGridModel* model_ = nullptr;
    StringGridDelegate* delegate_ = nullptr;
    StringGridLayout* layout_ = nullptr;
    StringGridInput* input_ = nullptr;
    TColNames colNames_;
    GridOptions options_ = 0;
    bool mitZeilenFinder_ = false;
    TColor zeilFindColor_ = 15132390;
    grid::KeyCalcSwitches keyCalc_;
    int lastSortCol_ = -1;
    int lastSortArt_ = 0;
    bool loaded_ = false;
};

} // namespace kovanta
