#pragma once

#include "recipe/recipetext.h"

#include <QTextEdit>

#include <cstdint>

class QMimeData;

// The formatted preview in a rich-text widget. The paragraphs come from the recipe text
// producer (recipe/recipetext.h); this only lays them out: one block per paragraph, with the
// paragraph's tab stops, point size, weight and colour. Built through QTextCursor, not HTML, so
// that the tab stops survive.
namespace kovanta {

// Tab stops are given in points; the widget measures them in pixels at 96 per inch.
inline constexpr double PointsToPixels(double points)
{
    return points * 96.0 / 72.0;
}

// Replaces the content of edit with text (one block per paragraph; no block at all when text
// has no paragraphs) and puts the caret at the start. The font family stays the widget's.
// A paragraph that begins with tabs hangs: its further lines start where its text starts. A
// PreviewTextEdit keeps the text and lays it out for its width (see there); any other widget
// shows the paragraphs as they are written.
void WriteRecipeText(const RecipeText& text, QTextEdit& edit);

// FillPreviewRich for a widget: reads the recipe again from its file and writes its preview
// for requestedPortions into edit. When the file cannot be opened, returns false and leaves
// edit exactly as it was (not even cleared).
bool FillPreviewRich(const TRezeptImportProz& proz, const TImpListInfo& entry, QTextEdit& edit,
                     std::int32_t requestedPortions);

// The preview widget RichEdit1 (read-only). It keeps the recipe text it was given and lays it
// out again whenever its width changes, so that a text line with a value ("\tText\t0030")
// never drops its value onto a line of its own: where the line as written does not fit, its
// text wraps (hanging) in a column left of the value, and the value stands on the text's last
// line, at its tab stop (260 pt) when there is room, else at the right edge. The line breaks
// this adds are line separators inside the paragraph; copying (the selection, or everything
// with allTextMimeData()) leaves them out, so the clipboard gets the text as written. Any other
// change of the content (clear()) drops the kept text.
class PreviewTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit PreviewTextEdit(QWidget* parent = nullptr);

    // Shows text laid out for the current width.
    void setRecipeText(const RecipeText& text);
    // The whole text for the clipboard: HTML and plain text, as written.
    QMimeData* allTextMimeData() const;
    // The width at which every value stands at its tab stop with a value of "ca.0000": frame,
    // margins and scroll bar included.
    int preferredWidth() const;
    // At least wide enough for a text column of a common word beside the value column.
    QSize minimumSizeHint() const override;

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layOut();
    int lineWidth() const;

    RecipeText text_;
    bool hasText_ = false;
    bool writing_ = false;
    int laidOutWidth_ = -1;
};

} // namespace kovanta
