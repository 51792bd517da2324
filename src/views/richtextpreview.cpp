#include "views/richtextpreview.h"

#include "platform/gui/uifont.h"
#include "platform/qt/ansiqstring.h"

#include <QFontMetricsF>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kovanta {

namespace {

// Ends a line inside a paragraph: the breaks the layout adds, never part of the text.
constexpr QChar kLineSeparator(0x2028);
// The widest value a text line shows: "ca." and the four digits of the recipe file.
const QString kWidestValue = QStringLiteral("ca.0000");
// Text lines and their values are 8 point, as the recipe text producer writes them.
constexpr int kValuePointSize = 8;
// The tab stop the values stand at when there is room (the fourth, 260 pt).
constexpr std::size_t kValueStop = 3;
// The distance of the stops that the leading tabs of a wrapped text line go to (pixels).
constexpr qreal kLeadingTabStep = 0.05;

QTextCharFormat CharFormat(const TextParagraph& p)
{
    QTextCharFormat f;
    f.setFontPointSize(p.pointSize);
    f.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    f.setForeground(QColor(p.color.red, p.color.green, p.color.blue));
    return f;
}

QFont ParagraphFont(const QFont& base, int pointSize, bool bold)
{
    QFont f(base);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

// A paragraph taken apart: its leading tabs, its text and, after the next tab, its value.
struct Parts {
    int tabs = 0;
    QString text;
    bool hasValue = false;
    QString value;
};

Parts Split(const QString& paragraph)
{
    Parts parts;
    while (parts.tabs < paragraph.size() && paragraph[parts.tabs] == QLatin1Char('\t'))
        ++parts.tabs;
    const QString rest = paragraph.mid(parts.tabs);
    const qsizetype tab = rest.indexOf(QLatin1Char('\t'));
    parts.text = rest.left(tab);
    if (tab >= 0) {
        parts.hasValue = true;
        parts.value = rest.mid(tab + 1);
    }
    return parts;
}

// The text as lines at most width wide, broken between words where it can be; each line keeps
// the blanks it ends with, so the lines joined give the text again.
QStringList WrapLines(const QString& text, const QFont& font, qreal width, QPaintDevice* device)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

// The least width of the text column beside the values: room for a common word
// ("Kartoffeln", "einweichen") without breaking it.
qreal MinimumTextWidth(const QFontMetricsF& fm)
{
    return 12 * fm.averageCharWidth();
}

std::vector<qreal> StopPixels(const std::vector<int>& stopsInPoints)
{
    // The stops were set for the old system font; they grow with today's, as the panel does.
    const UiScale scale = applicationUiScale();
    std::vector<qreal> stops;
    for (const int stop : stopsInPoints)
        stops.push_back(scale.pxF(PointsToPixels(stop)));
    return stops;
}

struct ValueLine {
    QString shown;
    QList<QTextOption::Tab> tabs; // measured from where the text starts (the block's margin)
};

// A text line with a value, for lines width pixels wide: nothing when it fits as written (the
// value at the first stop right of the text); else its text wrapped in a column that ends left
// of the value, and the value after the last line, at the value stop or at the right edge.
//
// Qt measures tab stops from the start of each line, and a paragraph's further lines start at
// its margin: so the paragraph starts there too (no negative first-line indent), its leading
// tabs go to stops a fraction of a pixel apart right at the margin, and the value's stop is
// given from the margin. A short last line then never meets a leading tab's stop.
std::optional<ValueLine> LayOutValueLine(const Parts& parts, const QFont& font,
                                         const std::vector<qreal>& stops, qreal width,
                                         QPaintDevice* device)
{
    const QFontMetricsF fm(font, device);
    const qreal indent = stops[static_cast<std::size_t>(parts.tabs) - 1];
    const qreal valueWidth = fm.horizontalAdvance(parts.value);
    const auto next =
        std::upper_bound(stops.begin(), stops.end(), indent + fm.horizontalAdvance(parts.text));
    // A pixel to spare: the real layout must not find it a hair too wide.
    if (next != stops.end() && *next + valueWidth <= width - 1)
        return std::nullopt;
    const qreal gap = fm.horizontalAdvance(QStringLiteral("  "));
    qreal valueX = width - valueWidth;
    if (stops.size() > kValueStop)
        valueX = std::min(valueX, stops[kValueStop]);
    valueX = std::max(valueX, indent + gap + MinimumTextWidth(fm));
    ValueLine line;
    line.shown = QString(parts.tabs, QLatin1Char('\t')) +
                 WrapLines(parts.text, font, valueX - gap - indent, device).join(kLineSeparator) +
                 QLatin1Char('\t') + parts.value;
    for (int i = 1; i <= parts.tabs; ++i)
        line.tabs.append(QTextOption::Tab(i * kLeadingTabStep, QTextOption::LeftTab));
    line.tabs.append(QTextOption::Tab(valueX - indent, QTextOption::LeftTab));
    return line;
}

// Writes the paragraphs; width > 0 lays the text lines with values out for lines that wide.
void WriteBlocks(const RecipeText& text, QTextEdit& edit, qreal width)
{
    QTextDocument* doc = edit.document();
    // A read-only preview has nothing to undo; keeping the history would only cost memory.
    doc->setUndoRedoEnabled(false);
    doc->clear();

    const std::vector<qreal> stops = StopPixels(text.tabStops);
    QList<QTextOption::Tab> tabs;
    tabs.reserve(static_cast<qsizetype>(stops.size()));
    for (const qreal stop : stops)
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));

    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    bool first = true;
    for (const TextParagraph& p : text.paragraphs) {
        const QTextCharFormat format = CharFormat(p);
        QString shown = ansiToQString(p.text);
        QTextBlockFormat block;
        block.setTabPositions(tabs);
        const Parts parts = Split(shown);
        if (parts.tabs > 0 && static_cast<std::size_t>(parts.tabs) <= stops.size()) {
            // Hanging: the first line starts at the margin and tabs to the text, further lines
            // start where the text does.
            const qreal indent = stops[static_cast<std::size_t>(parts.tabs) - 1];
            block.setLeftMargin(indent);
            block.setTextIndent(-indent);
            if (width > 0 && parts.hasValue) {
                const QFont font = ParagraphFont(doc->defaultFont(), p.pointSize, p.bold);
                if (auto line = LayOutValueLine(parts, font, stops, width, edit.viewport())) {
                    shown = line->shown;
                    block.setTextIndent(0);
                    block.setTabPositions(line->tabs);
                }
            }
        }
        if (first) {
            // The document always has one block; it takes the first paragraph.
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(format);
            first = false;
        } else {
            cursor.insertBlock(block, format);
        }
        cursor.insertText(shown, format);
    }
    cursor.endEditBlock();
    edit.moveCursor(QTextCursor::Start);
}

// The clipboard data of a piece of the preview, without the line breaks of the layout.
QMimeData* MimeDataOf(const QTextDocumentFragment& fragment)
{
    QTextDocument copy;
    QTextCursor cursor(&copy);
    cursor.insertFragment(fragment);
    for (QTextBlock b = copy.begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        for (qsizetype i = text.size() - 1; i >= 0; --i) {
            if (text[i] != kLineSeparator)
                continue;
            cursor.setPosition(b.position() + static_cast<int>(i));
            cursor.setPosition(b.position() + static_cast<int>(i) + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
    }
    auto* mime = new QMimeData;
    mime->setHtml(copy.toHtml());
    mime->setText(copy.toPlainText());
    return mime;
}

} // namespace

void WriteRecipeText(const RecipeText& text, QTextEdit& edit)
{
    if (auto* preview = qobject_cast<PreviewTextEdit*>(&edit)) {
        preview->setRecipeText(text);
        return;
    }
    WriteBlocks(text, edit, -1);
}

bool FillPreviewRich(const TRezeptImportProz& proz, const TImpListInfo& entry, QTextEdit& edit,
                     std::int32_t requestedPortions)
{
    RecipeText text;
    if (!FillPreviewRich(proz, entry, text, requestedPortions))
        return false;
    WriteRecipeText(text, edit);
    return true;
}

PreviewTextEdit::PreviewTextEdit(QWidget* parent) : QTextEdit(parent)
{
    // The scroll bar never comes and goes with the text: the width the text is laid out for
    // would change with it, and the layout with that width.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!writing_)
            hasText_ = false;
    });
}

void PreviewTextEdit::setRecipeText(const RecipeText& text)
{
    text_ = text;
    hasText_ = true;
    layOut();
}

int PreviewTextEdit::lineWidth() const
{
    // The document's margins on both sides, and a pixel for the caret.
    return viewport()->width() - 2 * static_cast<int>(document()->documentMargin()) - 2;
}

void PreviewTextEdit::layOut()
{
    // Until it is shown the widget has no width of its own; the first show lays out again.
    const int width = isVisible() ? lineWidth() : -1;
    const int scrolled = verticalScrollBar()->value();
    writing_ = true;
    WriteBlocks(text_, *this, width);
    writing_ = false;
    laidOutWidth_ = width;
    verticalScrollBar()->setValue(scrolled);
}

void PreviewTextEdit::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    if (hasText_ && isVisible() && lineWidth() != laidOutWidth_)
        layOut();
}

void PreviewTextEdit::showEvent(QShowEvent* event)
{
    QTextEdit::showEvent(event);
    if (hasText_ && lineWidth() != laidOutWidth_)
        layOut();
}

QMimeData* PreviewTextEdit::createMimeDataFromSelection() const
{
    return MimeDataOf(textCursor().selection());
}

QMimeData* PreviewTextEdit::allTextMimeData() const
{
    return MimeDataOf(QTextDocumentFragment(document()));
}

namespace {

int Chrome(const QTextEdit& edit)
{
    return 2 * static_cast<int>(edit.document()->documentMargin()) + 2 * edit.frameWidth() + 2 +
           edit.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &edit);
}

} // namespace

int PreviewTextEdit::preferredWidth() const
{
    const QFont font = ParagraphFont(document()->defaultFont(), kValuePointSize, true);
    const QFontMetricsF fm(font, viewport());
    const std::vector<qreal> stops = StopPixels(PreviewTabStops());
    return static_cast<int>(std::ceil(stops[kValueStop] + fm.horizontalAdvance(kWidestValue))) +
           Chrome(*this);
}

QSize PreviewTextEdit::minimumSizeHint() const
{
    const QFont font = ParagraphFont(document()->defaultFont(), kValuePointSize, true);
    const QFontMetricsF fm(font, viewport());
    const std::vector<qreal> stops = StopPixels(PreviewTabStops());
    // The deepest indent of a text line with a value is the first stop; articles hang deeper
    // but have no value.
    const qreal needed = stops[0] + fm.horizontalAdvance(QStringLiteral("  ")) +
                         MinimumTextWidth(fm) + fm.horizontalAdvance(kWidestValue);
    return {static_cast<int>(std::ceil(needed)) + Chrome(*this),
            QTextEdit::minimumSizeHint().height()};
}

} // namespace kovanta
