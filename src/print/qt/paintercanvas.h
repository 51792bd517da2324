#pragma once

#include "print/canvas.h"
#include "print/document.h"

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

// The print canvas on a QPainter over a paged device: a QPrinter (printer, print preview or
// "Print to File") or a QPdfWriter. Qt Gui only.
namespace kovanta::print {

struct PainterCanvasOptions {
    // All jobs go into one open document: a later job starts on a new page instead of a new
    // document. For file output, where a second document would overwrite the first.
    bool oneDocumentForAllJobs = false;
    // Called with the title of every job begun (e.g. QPrinter::setDocName); may be empty.
    std::function<void(const QString& title)> setTitle;
};

class PainterCanvas : public PrintCanvas {
public:
    using Options = PainterCanvasOptions;

    // device must outlive the canvas.
    explicit PainterCanvas(QPagedPaintDevice& device, Options options = {});
    // Ends a document still open.
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    // Ends the open document, if any. False when the device reported a failure at any end.
    bool Finish();
    // Pages begun on the device so far, over all jobs.
    int PagesBegun() const { return pagesBegun_; }

    void BeginJob(std::string_view title) override;
    void EndJob() noexcept override;
    void NewPage() override;
    int DpiX() const override;
    int DpiY() const override;
    PrintSize PhysicalPageSize() const override;
    PrintSize PrintableSize() const override;
    PrintPoint PhysicalOffset() const override;
    void SetFont(const PrintFont& font) override;
    int TextHeight() const override;
    int TextWidth(std::string_view text) const override;
    void DrawText(const PrintRect& box, std::string_view text, Align align) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;

private:
    struct LoadedFont {
        PrintFont key;
        QFont font;
        int lineSpacing = 0;
        int baseline = 0; // from the top of a line: external leading + ascent
        // The advance of every ANSI character: printed texts are ANSI, and without kerning
        // a text is as wide as its characters together, so widths need no text layout.
        std::array<qreal, 256> advances{};
    };
    const LoadedFont& Current() const;
    int WidthOf(std::string_view text) const;
    // Lines are collected and drawn as one path per page: one path per line would cost a
    // graphics state each in the PDF.
    void FlushLines();

    QPagedPaintDevice& device_;
    Options options_;
    QPainter painter_;
    std::vector<LoadedFont> fonts_; // every font used so far; a handful at most
    std::size_t current_ = 0;
    std::vector<QLine> lines_;
    bool failed_ = false;
    int pagesBegun_ = 0;
};

// Joins upright lines on the same x, and level lines on the same y, whose pixels touch or
// overlap (both ends of a line are part of it, so the pixels covered stay the same); other
// lines are kept. The order of the lines is not kept.
void MergeAxisLines(std::vector<QLine>& lines);

// Today's date for the page footers.
PrintDate TodayForPrint();

// Prints copies of printout on device (docs/printing.md): each copy its own job, or all of them
// one after the other into one document with options.oneDocumentForAllJobs. Throws PrintError
// when the device cannot be written; the job under way is ended first.
void PrintOnDevice(QPagedPaintDevice& device, const Printout& printout, int copies,
                   const PrintDate& date, PainterCanvasOptions options = {});

} // namespace kovanta::print
