#include "views/richtextpreview.h"

#include "platform/qt/ansiqstring.h"
#include "platform/gui/uifont.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace kovanta {

namespace {

QTextCharFormat CharFormat(const TextParagraph& p)
{
    QTextCharFormat f;
    f.setFontPointSize(p.pointSize);
    f.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    f.setForeground(QColor(p.color.red, p.color.green, p.color.blue));
    return f;
}

} // namespace

void WriteRecipeText(const RecipeText& text, QTextEdit& edit)
{
    QTextDocument* doc = edit.document();
    // A read-only preview has nothing to undo; keeping the history would only cost memory.
    doc->setUndoRedoEnabled(false);
    doc->clear();

    QList<QTextOption::Tab> tabs;
    tabs.reserve(static_cast<qsizetype>(text.tabStops.size()));
    // The stops were set for the old system font; they grow with today's, as the panel does.
    const UiScale scale = applicationUiScale();
    for (const int stop : text.tabStops)
        tabs.append(QTextOption::Tab(scale.pxF(PointsToPixels(stop)), QTextOption::LeftTab));
    QTextBlockFormat block;
    block.setTabPositions(tabs);

    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    cursor.setBlockFormat(block);
    bool first = true;
    for (const TextParagraph& p : text.paragraphs) {
        const QTextCharFormat format = CharFormat(p);
        if (first) {
            // The document always has one block; it takes the first paragraph.
            cursor.setBlockCharFormat(format);
            first = false;
        } else {
            cursor.insertBlock(block, format);
        }
        cursor.insertText(ansiToQString(p.text), format);
    }
    cursor.endEditBlock();
    edit.moveCursor(QTextCursor::Start);
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

} // namespace kovanta
