#include "document.h"

#include "print/primitives.h"

#include <algorithm>
#include <cstdio>

namespace kovanta::print {

std::string FooterDateText(const PrintDate& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
    return text;
}

PrintRect PageFrame(PrintCanvas& canvas, std::string_view title, int page, const PrintDate& date)
{
    PrintRect rect = PageRectangle(canvas, 20);
    SetPrintFont(canvas, 1);
    PrintRect titleRect = rect;
    PrintTextLine(canvas, title, titleRect, Align::Left);
    PrintTextLine(canvas, kFrameMark, rect, Align::Right);
    PrintRule(canvas, rect, 10);
    SetPrintFont(canvas, 2);
    PageFooter(canvas, rect, page, FooterDateText(date));
    AdvanceMillimetres(canvas, rect, 3);
    return rect;
}

void PrintDocument(PrintCanvas& canvas, const Printout& printout, int copies,
                   const PrintDate& date)
{
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        canvas.BeginJob(printout.Title());
        try {
            printout.PrintCopy(canvas, date);
        } catch (...) {
            canvas.EndJob();
            throw;
        }
        canvas.EndJob();
    }
}

} // namespace kovanta::print
