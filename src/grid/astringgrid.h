#pragma once

#include "grid/agridsettings.h"
#include "grid/core/cellrules.h"
#include "grid/core/colnames.h"
#include "grid/core/datetimeentry.h"
#include "grid/core/gridwidths.h"
#include "platform/uiscale.h"
#include "recipe/records.h"

#include <QPixmap>
#include <QTableView>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;

namespace kovanta {

class TAInplaceEdit;
class TAStringGrid;
class TAStringGridModel;
class TAStringGridDelegate;

using grid::TColNames;
using grid::TJahreszahl;

// The grid options of the list grid (the subset of the classic string grid's options that this
// program uses; the others are the view's own behaviour).
enum GridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};
using GridOptions = unsigned;

// System colours as the grid's colour properties may name them (the high bit marks them).
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000Eu);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);

// Painting hooks a row object can attach to a cell through TGridInfo::CellColors. Not owned by
// the row object or the grid.
class TGridCellPainter : public CellPainter {
public:
    // Called after the cell was filled with its background. Setting flag makes the grid draw the
    // text from then on into the rect shrunk by 2 left, 2 top and 3 right, without background.
    virtual void BeforeDraw(TGridInfo* rowObject, int col, int row, QPainter& canvas,
                            const QRect& rect, const grid::CellState& state, bool& flag);
    // Called after the cell was painted completely.
    virtual void AfterDraw(TGridInfo* rowObject, int col, int row, QPainter& canvas,
                           const QRect& rect, const grid::CellState& state, bool& flag);
};

// A calculator the number editor opens with the R key. This program assigns none.
class TVemoCalc {
public:
    virtual ~TVemoCalc() = default;
    virtual void Open(QLineEdit* editor, int decimals) = 0;
};

// TAStringGrid: the editable, sortable list grid of the recipe list, the menu plan and the
// requirements list. A QTableView over a TAStringGridModel: grid row 0 and column 0 live in the
// model and are shown as the view's header row and column; everything else is addressed in
// grid coordinates (col, row) as well, so row 1 is the first data row.
//
// Cell texts are ANSI byte strings. Row objects (column 0) are not owned: the grid holds
// pointers; their owner clears them (SetObjects(0, row, nullptr)) before freeing the objects. Events are optional std::function fields called after
// the grid's own work; an empty one is skipped.
class TAStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TAStringGrid(QWidget* parent = nullptr);
    ~TAStringGrid() override;

    // ---- cells -----------------------------------------------------------------------------
    int ColCount() const;
    int RowCount() const;
    void SetColCount(int count);
    void SetRowCount(int count);
    static constexpr int FixedCols = 1;
    static constexpr int FixedRows = 1;

    // Out-of-range cells read as "" / nil.
    std::string GetCell(int col, int row) const;
    // Writes only when the text differs (no repaint otherwise). A number (columns of type
    // 0..9) wider than its data cell widens the column, so that no digit is ever cut off.
    void SetCell(int col, int row, std::string_view text);
    TGridInfo* Objects(int col, int row) const;
    void SetObjects(int col, int row, TGridInfo* object);
    // Frees the row objects of rows 1 .. RowCount-1 and stores nil; row 0 is left alone.
    virtual void RefreshRow(int row);

    // ---- current cell and selection --------------------------------------------------------
    int Col() const;
    int Row() const;
    void SetCol(int col);
    void SetRow(int row);
    void SetCurrentCell(int col, int row);
    // The selected rows, top to bottom (the current row when nothing is selected).
    std::vector<int> SelectedRows() const;

    // ---- geometry --------------------------------------------------------------------------
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    // The defaults are designed sizes: they are applied scaled by UiScale().
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    // The layout scale: designed widths (column definitions, defaults, fitting) are multiplied
    // by it when applied, and the stored "Sizes" are kept in designed pixels (divided by it when
    // written, multiplied when read), so a settings file means the same on every screen. The
    // identity by default. Set it before the column definitions and Loaded(); setting it later
    // applies the defaults again, but not the column widths.
    const UiScale& uiScale() const { return uiScale_; }
    void SetUiScale(const UiScale& scale);

    GridOptions Options() const { return options_; }
    void SetOptions(GridOptions options);
    bool hasOption(GridOption o) const { return (options_ & o) != 0; }

    // ---- column definitions ----------------------------------------------------------------
    const TColNames& ColNames() const { return colNames_; }
    // Rebuilds the per-column state, sets ColCount to the number of entries, writes the
    // captions into row 0 and applies the widths unless widths were restored from the
    // settings. An empty list leaves columns, captions and widths alone.
    void SetColNames(const TColNames& names);
    const std::string& SortTyp() const { return defs_.sortTyp; }
    const std::string& DatenTyp() const { return defs_.datenTyp; }
    const std::string& ReadOnly() const { return defs_.readOnly; }
    const std::string& ColSizing() const { return defs_.colSizing; }
    const grid::ColumnDefs& ColumnDefs() const { return defs_; }
    // The editor kind of a cell: from DatenTyp, then OnGetEditorArt.
    int EditArtOf(int col, int row);
    bool ColumnEditable(int col) const { return defs_.editable(col); }

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
    bool KeyCalkMwst() const { return keyCalc_[0]; }
    bool KeyCalkSkonto() const { return keyCalc_[1]; }
    bool KeyCalkEUR() const { return keyCalc_[2]; }
    bool KeyCalkATS() const { return keyCalc_[3]; }
    void SetKeyCalkMwst(bool on);
    void SetKeyCalkSkonto(bool on);
    void SetKeyCalkEUR(bool on);
    void SetKeyCalkATS(bool on);
    bool MinusIgnore = false;

    // ---- events ----------------------------------------------------------------------------
    std::function<void(TAStringGrid*, int col, int row, bool& canEdit)> OnCanCellEdit;
    std::function<void(TAStringGrid*, int enterRow, int& col)> OnEnterRowInput;
    std::function<void(TAStringGrid*, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(TAStringGrid*, int col, int row, int& editArt)> OnGetEditorArt;
    std::function<void(TAStringGrid*, int col, int row, std::string& text, bool& canDraw)>
        OnGetDrawCellText;
    std::function<void(TAStringGrid*, int col, int row, QPixmap& graphic)> OnGetDrawBitmap;
    std::function<void(TAStringGrid*, int col, int row, QPainter&, const QRect&,
                       const grid::CellState&)>
        OnDrawCell;
    std::function<void(TAStringGrid*, int col, int row, std::string& hint, bool& show)>
        OnGetHintText;
    std::function<void(TAStringGrid*, int col, int row, bool& canSize)> OnCanColSizing;
    std::function<void(TAStringGrid*, int col, int row, char sortTyp, char datenTyp, char readOnly,
                       char colSizing, std::uint8_t minWidth)>
        OnMoveNewCell;
    // Raised by the editor (Sender = the editor).
    std::function<void(TAInplaceEdit*, int col, int row, std::string& editText, bool newCell)>
        OnEditChange;
    std::function<void(TAInplaceEdit*, int col, int row, int editArt, std::string& editText)>
        OnExitEdit;
    std::function<void(TAInplaceEdit*, int leaveRow, bool changed)> OnLeaveRowInput;
    std::function<void(TAInplaceEdit*, int& key)> OnCursorUpDown;
    std::function<void(TAInplaceEdit*, int col, int row, int& key)> OnReturnKeyDown;
    std::function<bool(QObject*, int col)> OnIsGeburtsdatum;
    // The values a number cell accepts while typing, asked when the editor moves onto it:
    // setting limited makes the editor refuse (with a beep) a key that would take the value
    // below minValue or above maxValue. Unassigned: no limit beyond the entry's length.
    std::function<void(TAStringGrid*, int col, int row, double& minValue, double& maxValue,
                       bool& limited)>
        OnGetMinMaxValue;
    // Sorting.
    std::function<void(TAStringGrid*, int sortAb, int sortZahl, bool& allowSort)> OnSortBegin;
    std::function<void(TAStringGrid*, int sortCol, int sortRow, std::string& tx1, std::string& tx2,
                       TGridInfo*& obj1, TGridInfo*& obj2, int& sortType, int& sortArt)>
        OnSortCompare;
    std::function<void(TAStringGrid*, int sortAb, int sortZahl)> OnSortEnde;
    // After the grid's own handling of the same occurrence.
    std::function<void(TAStringGrid*, int& key, Qt::KeyboardModifiers)> OnKeyDown;
    std::function<void(TAStringGrid*, char& key)> OnKeyPress;
    std::function<void(TAStringGrid*)> OnDblClick;
    std::function<void(TAStringGrid*)> OnClick;
    std::function<void(TAStringGrid*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)>
        OnMouseDown;
    std::function<void(TAStringGrid*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)>
        OnMouseUp;
    std::function<void(TAStringGrid*, Qt::KeyboardModifiers, int x, int y)> OnMouseMove;
    std::function<void(TAStringGrid*)> OnEnter;
    std::function<void(TAStringGrid*)> OnExit;
    std::function<void(TAStringGrid*, int from, int to)> OnColumnMoved;
    // The number the row finder's shading counts a data row by: the row itself while unset. A
    // list that hides rows hands in each row's place among the shown rows (1 for the first), so
    // that the shading keeps alternating.
    std::function<int(int row)> RowFinderPosition;

    // ---- sorting and widths ----------------------------------------------------------------
    // Mode 0: the header double-click (SortTyp decides and advances); 1..4: SortArt 0..3,
    // SortTyp untouched. Modes above 4 do nothing.
    void SortColumn(int col, int mode = 0);
    int LastSortedColumn() const { return lastSortCol_; }
    // Fits column c (and, unless ColWidthEinzel, all columns to its right); c < 0 fits every
    // column and every data row's height. Runs when force or AutoColResize is set. The last
    // column is stretched afterwards.
    void FitColumns(int c, bool force);
    void FitColumn(int c);
    void FitRowHeight(int row);
    void StretchLastColumn();

    // ---- automatic column widths -----------------------------------------------------------
    // With it on, the columns follow their texts and the view for as long as nobody has sized
    // them: every caption whole, every text shown, and the width the view has over shared by
    // the text columns with a caption (grid::autoColumnWidths), refitted after every change of
    // texts or view width. Widths restored from the settings, a header border dragged and the
    // header double-click fit make the widths the user's: from then on nothing is fitted
    // automatically, and "Sizes" is stored as before. While the widths are automatic, "Sizes"
    // is not written, so the next start fits them again. Off by default.
    void SetAutoColumnWidths(bool on);
    bool AutoColumnWidths() const { return autoWidths_; }
    // The automatic widths decide now (on, and no widths of the user's).
    bool AutoWidthsActive() const;
    // The width the grid needs to show every column at its natural width
    // (grid::naturalColumnWidth, texts not limited), with the row header, the frame and a
    // vertical scroll bar: the width a panel holding only this grid fits it at.
    int NaturalWidth();

    // ---- life cycle ------------------------------------------------------------------------
    // The end of configuration (the form has been loaded): applies ColNames again and, with
    // SaveSettings.AutoSave, restores size and column widths from the settings store. Call
    // once, after objectName, ColNames and SaveSettings are set. Restored widths are limited to
    // the grid width once the grid is laid out (before that its width is not known).
    void Loaded();
    // Writes "Sizes" (and "GridHeight"/"GridWidth" when asked for). Runs at destruction when
    // the grid was loaded.
    void SaveGridSettings();

    // ---- editor ----------------------------------------------------------------------------
    // The in-place editor, created on first need when goEditing is set; nullptr otherwise.
    TAInplaceEdit* InplaceEditor() const { return editor_; }
    // The editor-shown check: the per-column strings cover every column, the column is
    // editable, its type is neither X nor P, and the grid is editing.
    bool CanEditShow() const;
    // The same, plus goEditing and goAlwaysShowEditor without goRowSelect.
    bool CellEditableForSync() const;
    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool on);

    // The model behind the view (for tests and printing).
    TAStringGridModel* GridModel() const { return model_; }
    // The cell under a point of the grid widget (header row = row 0, header column = col 0;
    // -1 outside) and a cell's rectangle in grid widget coordinates.
    QPoint CellAt(QPoint gridPos) const;
    QRect CellRect(int col, int row) const;
    // The four check-box pictures: empty, checked, empty selected, checked selected.
    const std::array<QPixmap, 4>& CheckBoxPictures() const { return checkBoxes_; }

    // Used by the editor.
    void setSelectionJustChanged(bool on) { selectionJustChanged_ = on; }
    void editorKey(QKeyEvent* event);
    void refitAfterEditorWidening(int col);
    void postItem(QObject* target, int item, int v1 = 0, int v2 = 0);

signals:
    // NaturalWidth() changed (texts, captions or the font changed).
    void naturalWidthChanged();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* e) override;

private:
    friend class TAInplaceEdit;
    void applyColNames();
    void applyOptions();
    void applyColumnResizeModes();
    void ensureEditor();
    void updateEditor();
    void placeEditor(bool moved = false);
    void cellSelected(int col, int row);
    void handleDoubleClick(QPoint gridPos);
    void onFocusChanged(QWidget* old, QWidget* now);
    void onRowSectionMoved(int logical, int oldVisual, int newVisual);
    void onColumnSectionMoved(int logical, int oldVisual, int newVisual);
    void toggleClickCell(int col, int row);
    void applyStoredSettings();
    void limitColumnWidths();
    int textWidth(const std::string& text) const;
    void widenForNumber(int col, std::string_view text);
    QModelIndex indexOf(int col, int row) const;
    void drawCheckBoxes();
    void reportCellUnderMouse(QPoint gridPos);
    // The tooltip of a cell: the column hint or OnGetHintText's answer, its part before "|".
    QString hintOf(int col, int row);
    // After rows moved under the current cell: the editor takes the current cell again.
    void resyncEditor();
    // Automatic widths (astringgrid_autofit.cpp).
    void watchForAutoWidths();
    void markContentChanged(int firstCol, int lastCol);
    void scheduleAutoFit();
    void applyAutoFit();
    std::vector<grid::AutoColumn> autoColumns();
    int measureContent(int col);
    void userSizedColumns();
    void showSortIndicator();

    TAStringGridModel* model_ = nullptr;
    TAStringGridDelegate* delegate_ = nullptr;
    TAInplaceEdit* editor_ = nullptr;
    TColNames colNames_;
    grid::ColumnDefs defs_;
    GridOptions options_ = 0;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 18;
    UiScale uiScale_;
    // The widest character a plain number can hold, in the grid's font; 0 until measured.
    int numberCharWidth_ = 0;
    int col0Width_ = 64;
    int row0Height_ = 18;
    bool mitZeilenFinder_ = false;
    TColor zeilFindColor_ = 15132390;
    std::array<bool, 4> keyCalc_{};
    bool editorMode_ = false;
    bool selectionJustChanged_ = false;
    int previousCol_ = -1;
    int previousRow_ = -1;
    int lastSortCol_ = -1;
    int lastSortArt_ = 0;
    bool widthsRestored_ = false;
    bool loaded_ = false;
    bool limitPending_ = false;
    bool hasFocusWithin_ = false;
    bool inSelect_ = false;
    QPoint hoverCell_{-2, -2};
    // Automatic widths: on, widths of the user's, a fit queued, widths being applied by it,
    // a header border being dragged; per grid column the widest text (-1: to be measured);
    // the advance of every ANSI character in the grid's font.
    bool autoWidths_ = false;
    bool userWidths_ = false;
    bool autoFitQueued_ = false;
    bool applyingWidths_ = false;
    bool headerPressed_ = false;
    int lastNaturalWidth_ = -1;
    std::vector<int> contentWidths_;
    std::array<double, 256> advances_{};
    bool advancesMeasured_ = false;
    std::array<QPixmap, 4> checkBoxes_;
};

} // namespace kovanta
