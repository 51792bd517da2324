#include "grid/editorsync.h"

#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/core/datetimeentry.h"
#include "grid/gridevents.h"
#include "platform/qt/ansiqstring.h"

namespace kovanta {

void EditorSync::sync(int mode)
{
    if (blocked_)
        return;
    const int col = editor_.Col(), row = editor_.Row();
    const bool editable = grid_.CellEditableForSync();
    std::string text = editor_.AnsiText();
    if (mode == 2) {
        lastCol_ = col;
        lastRow_ = row;
        lastText_ = text;
        rowChanged_ = false;
        mode = 0;
    }
    if (lastCol_ == 0 || lastRow_ == 0) {
        lastCol_ = col;
        lastRow_ = row;
        lastText_.clear();
    }
    const bool sameCell = col == lastCol_ && row == lastRow_;
    if (editable && sameCell && text != lastText_)
        rowChanged_ = true;
    bool leave = false;
    int leaveRow = 0;
    bool leaveChanged = false;
    if (row != lastRow_ || mode != 0) {
        if (grid_.OnLeaveRowInput && lastRow_ >= TAStringGrid::FixedRows) {
            leave = true;
            leaveRow = lastRow_;
            leaveChanged = rowChanged_;
        }
        rowChanged_ = false;
    }
    if (editable && grid_.OnEditChange && lastRow_ >= TAStringGrid::FixedRows &&
        (text != lastText_ || !sameCell)) {
        std::string changed = text;
        grid_.OnEditChange(&editor_, col, row, changed, !sameCell);
        if (changed != text) {
            editor_.ReplaceText(changed);
            text = changed;
        }
    }
    lastCol_ = col;
    lastRow_ = row;
    lastText_ = text;
    if (leave)
        postGridItem(&editor_, GridItem::AG_LEAVE_ROW, leaveRow, leaveChanged ? 1 : 0);
}

void EditorSync::exitCell(int editArt, int col, int row)
{
    std::string text = grid_.GetCell(col, row);
    if (editArt == grid::editart::Date) {
        if (const auto d =
                grid::parseDate(text, grid::todayDayNumber(), editor_.IsBirthDateColumn(col)))
            text = grid::formatDate(*d, grid_.Jahreszahl);
    }
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    grid_.SetCell(col, row, text);
    if (grid_.OnExitEdit) {
        std::string changed = text;
        grid_.OnExitEdit(&editor_, col, row, editArt, changed);
        if (changed != text)
            grid_.SetCell(col, row, changed);
    }
    if (grid_.AutoColResize)
        grid_.FitRowHeight(row);
}

void EditorSync::leaveRow(int row, bool changed)
{
    if (grid_.OnLeaveRowInput)
        grid_.OnLeaveRowInput(&editor_, row, changed);
}

void EditorSync::placed(bool moved)
{
    const int col = editor_.Col(), row = editor_.Row();
    if (!moved ||
        ((col == boundsCol_ && row == boundsRow_) && (col == lastCol_ && row == lastRow_)))
        return;
    // 0, 0: the editor has not stood anywhere yet.
    if (boundsCol_ != 0 || boundsRow_ != 0)
        postGridItem(&editor_, GridItem::AG_EXIT_CELL, grid_.EditArtOf(boundsCol_, boundsRow_),
                     boundsCol_ + boundsRow_ * 256);
    boundsCol_ = col;
    boundsRow_ = row;
}

bool EditorSync::unchangedSince(const std::string& text) const
{
    return editor_.Col() == lastCol_ && editor_.Row() == lastRow_ && lastText_ == text;
}

} // namespace kovanta
