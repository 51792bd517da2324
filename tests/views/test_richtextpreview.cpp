#include "platform/gui/uifont.h"
#include "platform/qt/ansiqstring.h"
#include "views/richtextpreview.h"

#include <QApplication>
#include <QClipboard>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

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

TEST(RichTextPreview, NarrowLinesHangAndKeepTheirValueBesideTheirText)
{
    PreviewTextEdit edit;
    RecipeText text;
    text.tabStops = PreviewTabStops();
    text.paragraphs = {
        {"\tMilch aufkochen, Reis einstreuen und bei kleiner Hitze quellen lassen\tca.0090", 8,
         false, kTextBlack},
        {"\t\t0,5 kg Milchreis aus dem Bioladen an der Ecke", 8, false, kTextNavy},
    };
    const UiScale scale = applicationUiScale();
    const QList<qreal> indents = {scale.pxF(13.333), scale.pxF(26.667)};
    edit.show();
    // From the least width the splitter allows to one where the line fits as written.
    for (const int width : {edit.minimumSizeHint().width(), 300, 450, 900}) {
        SCOPED_TRACE(width);
        edit.resize(width, 400);
        WriteRecipeText(text, edit);
        QCoreApplication::processEvents();
        (void)edit.document()->size(); // lays the text out
        QTextBlock block = edit.document()->begin();
        for (int b = 0; b < 2; ++b, block = block.next()) {
            const QTextLayout* layout = block.layout();
            // Every line after the first starts where the text of the first does.
            for (int i = 1; i < layout->lineCount(); ++i)
                EXPECT_NEAR(layout->lineAt(i).x(), indents[b], 1.0) << b;
        }
        block = edit.document()->begin();
        const QTextLayout* layout = block.layout();
        const int value = static_cast<int>(block.text().lastIndexOf(QLatin1Char('\t'))) + 1;
        const QTextLine line = layout->lineForTextPosition(value);
        EXPECT_EQ(line.lineNumber(), layout->lineCount() - 1);
        EXPECT_LT(line.textStart(), value - 1) << "the value has text beside it";
        EXPECT_LE(line.cursorToX(block.text().size()), edit.viewport()->width());
        EXPECT_TRUE(width < 900 || layout->lineCount() == 1) << "as written when it fits";
        edit.selectAll();
        edit.copy();
        EXPECT_EQ(QApplication::clipboard()->text(), ansiToQString(PlainText(text)));
    }
}
