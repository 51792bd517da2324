#include "grid/stringgriddelegate.h"

#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/stringgridmodel.h"
#include "platform/qt/ansiqstring.h"
#include "platform/strings.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace kovanta {

using namespace grid;

void GridCellPainter::BeforeDraw(TGridInfo*, int, int, QPainter&, const QRect&, const CellState&,
                                 bool&)
{}

void GridCellPainter::AfterDraw(TGridInfo*, int, int, QPainter&, const QRect&, const CellState&,
                                bool&)
{}

namespace {

// Four 13 x 13 pictures: empty, checked, and both again for a selected cell.
std::array<QPixmap, 4> drawCheckBoxes()
{
    std::array<QPixmap, 4> boxes;
    for (int i = 0; i < 4; ++i) {
        QPixmap pm(15, 15);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        const bool selected = i >= 2;
        p.setPen(QPen(selected ? QColor(0, 0, 128) : QColor(96, 96, 96), 1));
        p.setBrush(selected ? QColor(214, 228, 255) : QColor(Qt::white));
        p.drawRect(2, 2, 11, 11);
        if (i % 2 == 1) {
            p.setPen(QPen(QColor(0, 0, 0), 2));
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawPolyline(QPolygon({QPoint(4, 8), QPoint(7, 11), QPoint(11, 4)}));
        }
        p.end();
        boxes[i] = pm;
    }
    return boxes;
}

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

// The lines of a multi-line cell, each in a band of its own; lines below the cell are not drawn.
void drawLines(QPainter& p, const QRect& rect, const std::vector<std::string>& lines, bool right)
{
    const QFontMetrics fm(p.font());
    int top = rect.top();
    for (const std::string& line : lines) {
        if (top >= rect.bottom() + 1)
            break;
        const QString l = ansiToQString(line);
        const int x = right ? rect.right() + 1 - fm.horizontalAdvance(l) - 3 : rect.left() + 2;
        p.save();
        p.setClipRect(QRect(rect.left(), top, rect.width(),
                            std::min(fm.height() + 2, rect.bottom() + 1 - top)));
        p.drawText(QPoint(x, top + 2 + fm.ascent()), l);
        p.restore();
        top += fm.height() + 2;
    }
}

QString joined(const std::vector<std::string>& lines)
{
    QString text;
    for (const std::string& line : lines)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + ansiToQString(line);
    return text;
}

} // namespace

StringGridDelegate::StringGridDelegate(TAStringGrid* grid)
    : QStyledItemDelegate(grid), grid_(grid), checkBoxes_(drawCheckBoxes())
{}

QColor StringGridDelegate::toQColor(int c, const QPalette& palette)
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

const std::string& StringGridDelegate::Shown::visible() const
{
    static const std::string none;
    return canDraw && blank ? none : text;
}

StringGridDelegate::Shown StringGridDelegate::shownCell(int col, int row) const
{
    TAStringGrid* g = grid_;
    Shown shown{g->GridModel()->cell(col, row)};
    if (g->OnGetDrawCellText)
        g->OnGetDrawCellText(g, col, row, shown.text, shown.canDraw);
    shown.blank = paintsBlank(g->ColumnDefs().datenTypAt(col), shown.text, row,
                              TAStringGrid::FixedRows, g->BlankNull);
    return shown;
}

int StringGridDelegate::paintedWidth(int col, const Shown& shown) const
{
    const QFontMetrics fm = grid_->fontMetrics();
    int widest = 0;
    for (const std::string& line :
         paintedLines(cellKindFor(grid_->ColumnDefs().datenTypAt(col)), shown.visible()))
        widest = std::max(widest, fm.horizontalAdvance(ansiToQString(line)));
    return widest;
}

QString StringGridDelegate::hintOf(int col, int row) const
{
    std::string hint = grid_->ColumnDefs().hintAt(col);
    bool show = true;
    if (grid_->OnGetHintText && col >= 0 && row >= 0)
        grid_->OnGetHintText(grid_, col, row, hint, show);
    // "short|long": the tooltip is the short part.
    return show ? ansiToQString(hint).section(QLatin1Char('|'), 0, 0) : QString();
}

bool StringGridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem&, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    const QString text = index.isValid() ? hintOf(index.column() + TAStringGrid::FixedCols,
                                                  index.row() + TAStringGrid::FixedRows)
                                         : QString();
    if (!text.isEmpty())
        QToolTip::showText(event->globalPos(), text, view->viewport());
    else
        QToolTip::hideText();
    return true;
}

std::vector<std::string> StringGridDelegate::paintedLines(CellKind kind, std::string_view text)
{
    std::vector<std::string> lines;
    if (kind == CellKind::MultiLeft || kind == CellKind::MultiRight)
        lines = splitLines(text);
    else
        lines.emplace_back(text);
    for (std::string& line : lines)
        blankControls(line);
    return lines;
}

void StringGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
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

    if (!g->OnDrawAfterDraw && g->OnDrawCell) {
        g->OnDrawCell(g, col, row, p, rect, state);
        p.restore();
        return;
    }

    const Shown shown = shownCell(col, row);
    const QPalette& pal = g->palette();
    SelectionSettings sel;
    sel.hideSelektion = g->HideSelektion;
    sel.columnReadOnly = g->ColumnDefs().covers(col) && g->ColumnDefs().readOnly[col] == '1';
    sel.rowSelect = g->hasOption(goRowSelect);
    sel.hasHideSelColor = g->HideSelColor != clNone;
    sel.gridHasFocus = g->hasFocus() || (g->InplaceEditor() && g->InplaceEditor()->hasFocus());
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

    const CellKind kind = cellKindFor(g->ColumnDefs().datenTypAt(col));
    if (shown.canDraw) {
        paintCell(p, option, col, row, shown, kind, state, colours, background, foreground);
    } else {
        // The grid's own painting is suppressed: only the plain text is shown.
        p.fillRect(rect, background);
        p.setPen(foreground);
        p.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   joined(paintedLines(CellKind::Left, shown.text)));
    }
    p.restore();
    if (g->OnDrawAfterDraw && g->OnDrawCell) {
        p.save();
        g->OnDrawCell(g, col, row, p, rect, state);
        p.restore();
    }
}

void StringGridDelegate::paintCell(QPainter& p, const QStyleOptionViewItem& option, int col,
                                   int row, const Shown& shown, CellKind kind,
                                   const CellState& state, const CellColourChoice& colours,
                                   QColor background, QColor foreground) const
{
    TAStringGrid* g = grid_;
    const QRect rect = option.rect;
    const QPalette& pal = g->palette();
    TColor frame = clNone;
    GridCellPainter* cellPainter = nullptr;
    TGridInfo* rowObject = g->GridModel()->object(0, row);
    if (rowObject) {
        const CellColorInfo info = rowObject->GetCellColors(col, state.selected);
        if (info.Found) {
            if (info.Font != clNone)
                foreground = toQColor(info.Font, pal);
            if (info.Background != clNone)
                background = toQColor(info.Background, pal);
            frame = info.Frame;
            cellPainter = dynamic_cast<GridCellPainter*>(info.Painter);
        }
    }
    p.fillRect(rect, background);
    p.setPen(foreground);
    p.setFont(option.font);

    bool painterText = false;
    if (cellPainter)
        cellPainter->BeforeDraw(rowObject, col, row, p, rect, state, painterText);
    const std::vector<std::string> lines = paintedLines(kind, shown.visible());
    const Align align = alignmentFor(kind);
    if (painterText && kind != CellKind::CheckBox && kind != CellKind::Bitmap &&
        kind != CellKind::Counter) {
        const int flags = (align == Align::Right    ? Qt::AlignRight
                           : align == Align::Centre ? Qt::AlignHCenter
                                                    : Qt::AlignLeft) |
                          Qt::AlignTop;
        p.drawText(rect.adjusted(2, 2, -3, 0), flags, joined(lines));
    } else {
        switch (kind) {
        case CellKind::CheckBox:
            if (!shown.blank)
                p.drawPixmap(rect.topLeft(),
                             checkBoxes_[checkBoxPicture(shown.text, colours.checkBoxSelected)]);
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
        case CellKind::MultiRight:
            drawLines(p, rect, lines, kind == CellKind::MultiRight);
            break;
        default:
            if (!shown.visible().empty())
                drawAligned(p, rect, joined(lines), align);
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

} // namespace kovanta
