#pragma once

#include "grid/core/gridwidths.h"

#include <QObject>

#include <array>
#include <vector>

namespace kovanta {

class StringGridLayout;
class TAStringGrid;

// The automatic column widths of a TAStringGrid: while nobody has sized its columns, they follow
// their texts and the view (grid::autoColumnWidths): every caption whole, every text shown, the
// width the view has over shared by the text columns with a caption, fitted after every change
// of texts or view width. Widths restored from the settings, a header border dragged and the
// header double-click fit end them for the grid. Also takes the sort arrow down when a text of
// the sorted column changes.
class AutoWidths : public QObject {
    Q_OBJECT
public:
    AutoWidths(TAStringGrid* grid, StringGridLayout* layout);

    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    // The automatic widths decide now (on, and no widths of the user's).
    bool active() const;
    // The widths are the user's from now on.
    void userSizedColumns() { userWidths_ = true; }
    // Fits the columns now, when active.
    void apply();
    // Every column at its natural width, with the row header, the frame and a scroll bar.
    int naturalWidth();
    void fontChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void contentChanged(int firstCol, int lastCol);
    void schedule();
    std::vector<grid::AutoColumn> columns();
    int measureContent(int col);

    TAStringGrid* grid_;
    StringGridLayout* layout_;
    // On, widths of the user's, a fit queued, widths being applied by it, a header border
    // being dragged; per grid column the widest text (-1: to be measured); the advance of every
    // ANSI character in the grid's font.
    bool enabled_ = false;
    bool userWidths_ = false;
    bool queued_ = false;
    bool applying_ = false;
    bool headerPressed_ = false;
    int lastNaturalWidth_ = -1;
    std::vector<int> contentWidths_;
    std::array<double, 256> advances_{};
    bool advancesMeasured_ = false;
};

} // namespace kovanta
