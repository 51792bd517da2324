#pragma once

#include "print/canvas.h"

#include <string>
#include <string_view>

// The page frame all printouts share and the document loop that prints copies of a printout
// (docs/printing.md).
namespace kovanta::print {

// The right end of every title line.
inline constexpr std::string_view kFrameMark = "VEMO-KOVANTA";

// The date in the footer of every page.
struct PrintDate {
    int day = 1;
    int month = 1;
    int year = 2000;
};
// "06.12.2026": day and month filled to two digits with a zero, four-digit year.
std::string FooterDateText(const PrintDate& date);

// Page n of a document: the page rectangle 20 mm inside the sheet; the title (left) and
// "VEMO-KOVANTA" (right) in font 1 with a rule below; the footer in font 2 with "Seite n" and
// the date; 3 mm of space. Returns the rectangle left for the page's content.
PrintRect PageFrame(PrintCanvas& canvas, std::string_view title, int page, const PrintDate& date);

// A printout: prints one copy of itself from page 1 on, starting on the canvas's current
// (empty) page and calling NewPage between its pages, never after the last one.
class Printout {
public:
    virtual ~Printout() = default;
    virtual void PrintCopy(PrintCanvas& canvas, const PrintDate& date) const = 0;
    // What the printout is, ANSI: the name of its print jobs and the title of a PDF made of it,
    // so that a print queue or a PDF viewer tells the printouts apart ("Speiseplan",
    // "Rezeptausdruck: Gulasch").
    virtual std::string Title() const = 0;
};

// Prints copies (at least 1) of printout, each as its own print job titled printout.Title() with
// page numbers from 1. A job is ended also when printing it throws; the exception then ends the
// document.
void PrintDocument(PrintCanvas& canvas, const Printout& printout, int copies,
                   const PrintDate& date);

} // namespace kovanta::print
