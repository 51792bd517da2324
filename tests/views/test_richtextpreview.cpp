#include "platform/qt/ansiqstring.h"
#include "platform/gui/uifont.h"
#include "views/richtextpreview.h"

#include <QApplication>
#include <QClipboard>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace kovanta;

namespace {

RecipeText Sample()
{
    RecipeText t;
    t.tabStops = PreviewTabStops();
    t.paragraphs = {
        {"Kopf", 8, false, kTextBlack},
        {"", 8, false, kTextBlack},
        {"Beschreibung", 12, true, kTextBlack},
        {"", 12, true, kTextBlack},
        {"\t\t3,125 kg Mehl", 8, false, kTextNavy},
        {"\t\tSalz", 8, false, kTextBlue},
        {"\tF\xFCr den Teig:\t0005", 8, true, kTextBlack},
        {"\t\t1\xA0kg K\xE4se", 8, false, kTextNavy},
    };
    return t;
}

} // namespace

TEST(RichTextPreview, OneBlockPerParagraphWithItsAttributesAndTabStops)
{
    QTextEdit edit;
    edit.setPlainText(QStringLiteral("alter Inhalt\nzweite Zeile"));
    const RecipeText text = Sample();
    WriteRecipeText(text, edit);

    const QTextDocument* doc = edit.document();
    ASSERT_EQ(doc->blockCount(), static_cast<int>(text.paragraphs.size()));
    QTextBlock block = doc->begin();
    for (const TextParagraph& p : text.paragraphs) {
        SCOPED_TRACE(p.text);
        EXPECT_EQ(block.text(), ansiToQString(p.text));
        // The block's own character format matters for empty lines (their height).
        const QTextCharFormat f = block.charFormat();
        EXPECT_EQ(f.fontPointSize(), p.pointSize);
        EXPECT_EQ(f.fontWeight() == QFont::Bold, p.bold);
        EXPECT_EQ(f.foreground().color(), QColor(p.color.red, p.color.green, p.color.blue));
        for (const QTextLayout::FormatRange& r : block.textFormats()) {
            EXPECT_EQ(r.format.fontPointSize(), p.pointSize);
            EXPECT_EQ(r.format.fontWeight() == QFont::Bold, p.bold);
            EXPECT_EQ(r.format.foreground().color(),
                      QColor(p.color.red, p.color.green, p.color.blue));
        }
        const QList<QTextOption::Tab> tabs = block.blockFormat().tabPositions();
        ASSERT_EQ(tabs.size(), 21);
        // 10 pt at 96 dpi, grown with the UI font like the panel that shows them.
        const UiScale scale = applicationUiScale();
        EXPECT_NEAR(tabs[0].position, scale.pxF(13.333), 0.01);
        EXPECT_NEAR(tabs[3].position, scale.pxF(346.667), 0.01);
        EXPECT_NEAR(tabs[20].position, scale.pxF(2666.667), 0.01);
        EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
        block = block.next();
    }
    EXPECT_EQ(edit.textCursor().position(), 0);
}

TEST(RichTextPreview, CopyingEverythingGivesThePlainTextOfTheParagraphs)
{
    QTextEdit edit;
    edit.setReadOnly(true);
    const RecipeText text = Sample();
    WriteRecipeText(text, edit);
    edit.selectAll();
    edit.copy();
    // What `rezeptur preview` prints is exactly this text.
    EXPECT_EQ(QApplication::clipboard()->text(), ansiToQString(PlainText(text)));
}
