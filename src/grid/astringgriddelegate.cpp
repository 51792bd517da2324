#include "grid/astringgriddelegate.h"

#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/astringgridmodel.h"
#include "platform/qt/ansiqstring.h"

#include <QPainter>

namespace kovanta {

using namespace grid;

TAStringGridDelegate::TAStringGridDelegate(TAStringGrid* grid)
    : QStyledItemDelegate(grid), grid_(grid)
{}

QColor TAStringGridDelegate::toQColor(int c, const QPalette& palette)
{
    switch (c) {
    case clHighlight:
        return palette.color(QPalette::Highlight);
    case clHighlightText:
        return palette.color(QPalette::HighlightedText);
    case clWindow:
        return palette.color(QPalette::Base);
    default:
        return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
}

namespace {

void drawAligned(QPainter& p, const QRect& rect, const QString& text, Align align)
{
    const QFontMetrics fm(p.font());
    const int w = fm.horizontalAdvance(text);
    const int h = fm.height();
    const int y = rect.top() + (rect.height() - h) / 2;
    int x = rect.left() + 2;
    if (align == Align::Right)
        x = rect.right() + 1 - w - 3;
    else if (align == Align::Centre)
        x = rect.left() + (rect.width() - w) / 2;
    p.drawText(QRect(x, y, w + 1, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace

void TAStringGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    TAStringGrid* g = grid_;
    const int col = index.column() + TAStringGrid::FixedCols;
    const int row = index.row() + TAStringGrid::FixedRows;
    const QRect rect = option.rect;
    QPainter& p = *painter;
    p.save();
    // Nothing a cell draws may spill into its neighbours.
    p.setClipRect(rect);

    CellState state;
    state.selected = option.state & QStyle::State_Selected;
    state.focused = g->currentIndex() == index;
    if (g->hasOption(goRowSelect))
        state.focused = state.focused && state.selected;
    state.fixed = false;

    if (!g->OnDrawAfterDraw && g->OnDrawCell) {
        g->OnDrawCell(g, col, row, p, rect, state);
        p.restore();
        return;
    }

    const char datenTyp = g->ColumnDefs().datenTypAt(col);
    std::string text = g->GetCell(col, row);
    bool canDraw = true;
    if (g->OnGetDrawCellText)
        g->OnGetDrawCellText(g, col, row, text, canDraw);

    const QPalette& pal = g->palette();
    const bool gridFocused =
        g->hasFocus() || (g->InplaceEditor() && g->InplaceEditor()->hasFocus());
    SelectionSettings sel;
    sel.hideSelektion = g->HideSelektion;
    sel.columnReadOnly = g->ColumnDefs().covers(col) && g->ColumnDefs().readOnly[col] == '1';
    sel.rowSelect = g->hasOption(goRowSelect);
    sel.hasHideSelColor = g->HideSelColor != clNone;
    sel.gridHasFocus = gridFocused;
    sel.editing = g->hasOption(goEditing);
    const CellColourChoice colours = chooseCellColours(state, sel);

    QColor background = pal.color(QPalette::Base);
    const int shadeRow = g->RowFinderPosition ? g->RowFinderPosition(row) : row;
    if (rowFinderShade(col, shadeRow, TAStringGrid::FixedCols, TAStringGrid::FixedRows,
                       g->MitZeilenFinder()))
        background = toQColor(g->ZeilFindColor(), pal);
    if (colours.background == Background::Highlight)
        background = pal.color(QPalette::Highlight);
    else if (colours.background == Background::HideSelColor)
        background = toQColor(g->HideSelColor, pal);
    QColor foreground = colours.foreground == Foreground::HighlightText
                            ? pal.color(QPalette::HighlightedText)
                            : pal.color(QPalette::Text);

    if (!canDraw) {
        // The grid's own painting is suppressed: only the plain text is shown.
        p.fillRect(rect, background);
        p.setPen(foreground);
        p.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, ansiToQString(text));
    } else {
        TColor frame = clNone;
        TGridCellPainter* cellPainter = nullptr;
        TGridInfo* rowObject = g->Objects(0, row);
        if (rowObject) {
            const CellColorInfo info = rowObject->GetCellColors(col, state.selected);
            if (info.Found) {
                if (info.Font != clNone)
                    foreground = toQColor(info.Font, pal);
                if (info.Background != clNone)
                    background = toQColor(info.Background, pal);
                frame = info.Frame;
                cellPainter = dynamic_cast<TGridCellPainter*>(info.Painter);
            }
        }
        p.fillRect(rect, background);
        p.setPen(foreground);
        p.setFont(option.font);

        const CellKind kind = cellKindFor(datenTyp);
        const bool blank = paintsBlank(datenTyp, text, row, TAStringGrid::FixedRows, g->BlankNull);
        bool painterText = false;
        if (cellPainter)
            cellPainter->BeforeDraw(rowObject, col, row, p, rect, state, painterText);
        const QString shown = blank ? QString() : ansiToQString(text);
        const Align align = alignmentFor(kind);
        if (painterText && kind != CellKind::CheckBox && kind != CellKind::Bitmap &&
            kind != CellKind::Counter) {
            const int flags = (align == Align::Right    ? Qt::AlignRight
                               : align == Align::Centre ? Qt::AlignHCenter
                                                        : Qt::AlignLeft) |
                              Qt::AlignTop;
            p.drawText(rect.adjusted(2, 2, -3, 0), flags, shown);
        } else {
            switch (kind) {
            case CellKind::CheckBox:
                if (!blank) {
                    const int pic = checkBoxPicture(text, colours.checkBoxSelected);
                    p.drawPixmap(rect.topLeft(), g->CheckBoxPictures()[pic]);
                }
                break;
            case CellKind::Bitmap:
            case CellKind::Counter: {
                QPixmap graphic;
                if (g->OnGetDrawBitmap)
                    g->OnGetDrawBitmap(g, col, row, graphic);
                if (!graphic.isNull())
                    p.drawPixmap(rect.topLeft(), graphic);
                break;
            }
            case CellKind::MultiLeft:
            case CellKind::MultiRight: {
                const QFontMetrics fm(p.font());
                int top = rect.top();
                for (const std::string& line : splitLines(text)) {
                    if (top >= rect.bottom() + 1)
                        break;
                    const QString l = ansiToQString(line);
                    const int x = kind == CellKind::MultiLeft
                                      ? rect.left() + 2
                                      : rect.right() + 1 - fm.horizontalAdvance(l) - 3;
                    p.save();
                    p.setClipRect(QRect(rect.left(), top, rect.width(),
                                        std::min(fm.height() + 2, rect.bottom() + 1 - top)));
                    p.drawText(QPoint(x, top + 2 + fm.ascent()), l);
                    p.restore();
                    top += fm.height() + 2;
                }
                break;
            }
            default:
                if (!shown.isEmpty())
                    drawAligned(p, rect, shown, align);
                break;
            }
        }
        if (frame != clNone) {
            const int bw = g->ColorBorderWidth;
            QPen pen(toQColor(frame, pal));
            pen.setWidth(bw);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            const int l = rect.left(), t = rect.top(), r = rect.right() + 1, b = rect.bottom() + 1;
            if (state.selected)
                p.drawRect(QRect(QPoint(l + bw, t + bw), QPoint(r - bw, b - 2)));
            else
                p.drawRect(QRect(QPoint(l + bw - 1, t + bw - 1), QPoint(r - 1, b - 1)));
        }
        if (cellPainter)
            cellPainter->AfterDraw(rowObject, col, row, p, rect, state, painterText);
    }
    p.restore();
    if (g->OnDrawAfterDraw && g->OnDrawCell) {
        p.save();
        g->OnDrawCell(g, col, row, p, rect, state);
        p.restore();
    }
}

} // namespace kovanta
