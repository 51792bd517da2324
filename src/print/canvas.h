#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The surface every printout draws on: a printer page, a print preview, a PDF file or, in the
// tests, a recording of the operations. Standard C++ only, so that the page frame and the
// printouts (primitives.h, listprintouts.h, recipeprintout.h) need no Qt; qt/paintercanvas.h
// puts it on a QPainter.
//
// Coordinates are device pixels of the printable area: (0, 0) is its top-left corner, x grows
// to the right and y downwards. Texts are ANSI (Windows-1252) byte strings.
namespace kovanta::print {

// A rectangle in device pixels. top is the current writing position of a printout and moves
// down as lines are printed; bottom is the lower limit and moves up as the footer is printed.
struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PrintRect&) const = default;
};

struct PrintPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PrintPoint&) const = default;
};

struct PrintSize {
    int width = 0;
    int height = 0;
    bool operator==(const PrintSize&) const = default;
};

enum class Align { Left, Centre, Right };

// A print font: face, size in points, style.
struct PrintFont {
    std::string face;
    int pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool operator==(const PrintFont&) const = default;
};

// A print job could not be started or a page not be written (no printer, an output file that
// cannot be created). The message is German, for the user.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;

    // --- jobs and pages ---------------------------------------------------------------------
    // Starts a print job with its title, in portrait orientation, on its first page. Throws
    // PrintError when the job cannot be started. Device metrics are valid from here on.
    virtual void BeginJob(std::string_view title) = 0;
    // Ends the job begun last. Safe to call after an error; never throws.
    virtual void EndJob() noexcept = 0;
    // Ends the current page; the next drawing goes onto a new one.
    virtual void NewPage() = 0;

    // --- device -----------------------------------------------------------------------------
    // Dots per inch, horizontal and vertical.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The whole sheet of paper in pixels.
    virtual PrintSize PhysicalPageSize() const = 0;
    // The printable area's size, and where it lies on the sheet (its top-left corner).
    virtual PrintSize PrintableSize() const = 0;
    virtual PrintPoint PhysicalOffset() const = 0;

    // --- text and lines ---------------------------------------------------------------------
    // The font for what follows.
    virtual void SetFont(const PrintFont& font) = 0;
    // The height of a line of text in the current font, external leading included.
    virtual int TextHeight() const = 0;
    // The advance width of text in the current font.
    virtual int TextWidth(std::string_view text) const = 0;
    // Draws text as one line (no wrapping) whose top is box.top, placed left, centred or right
    // between box.left and box.right, and clipped to box. An empty box draws nothing.
    virtual void DrawText(const PrintRect& box, std::string_view text, Align align) = 0;
    // A line one pixel wide from (x1, y1) to (x2, y2), both ends included.
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
};

} // namespace kovanta::print
