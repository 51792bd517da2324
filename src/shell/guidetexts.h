#pragma once

#include <QString>

class QTextBlockFormat;
class QTextEdit;

// The texts of the start page: the six guide texts behind the guide buttons and the product
// text below them.
namespace kovanta {

inline constexpr int kGuideTextCount = 6;

// Guide text 1..6 (recipe list, preview, menu plan, requirements list, web recipes,
// directories); paragraphs separated by "\n". Any other tag gives an empty text.
QString guideText(int tag);

// The maker as the start page, the about box and the package name it.
QString makerName();     // "VEMOSOFT Vehling & Mohr Software GmbH"
// The maker's addresses shown by the link labels of the start page.
QString makerWebAddress(); // as shown, without scheme
QString makerWebUrl();     // what the "Internet:" label opens
QString makerEMail();

// Paragraph indents of both start-page texts, in points from the text's left and right edge:
// the first line of a paragraph at 5, its further (wrapped) lines at 15, the right edge at 5.
inline constexpr double kFirstLineIndentPt = 5;
inline constexpr double kFurtherLinesIndentPt = 15;
inline constexpr double kRightIndentPt = 5;
// The block format of those indents.
QTextBlockFormat startPageParagraph();

// Replaces the contents of edit (not null) with the guide text of tag, in the start page's
// paragraph indents, and puts the caret at its start.
void writeGuideText(QTextEdit* edit, int tag);

// Replaces the contents of edit (not null) with the product text: product and maker, the
// maker's history, two sibling products, an invitation to the web pages, the maker's name and
// postal address.
void writeProductText(QTextEdit* edit);

} // namespace kovanta
