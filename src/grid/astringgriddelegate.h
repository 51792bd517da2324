#pragma once

#include <QStyledItemDelegate>

namespace kovanta {

class TAStringGrid;

// Paints the data cells of a TAStringGrid by the grid's rules: alignment per data type, blank
// zeros, check boxes, multi-line texts, bitmaps from OnGetDrawBitmap, selection colours, the
// row finder and the colours and painters of the row objects. The decisions themselves are
// the plain functions of grid/core/cellrules.h. Creates no editors (the grid has its own).
class TAStringGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TAStringGridDelegate(TAStringGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return nullptr;
    }

    // A colour value (0x00BBGGRR, or a system colour such as clHighlight) as QColor.
    static QColor toQColor(int tcolor, const QPalette& palette);

private:
    TAStringGrid* grid_;
};

} // namespace kovanta
