#pragma once

#include "print/canvas.h"

#include <string>
#include <vector>

// A canvas that draws nothing and records every operation with its job, page and coordinates,
// for tests of the page layout. Its metrics are fixed and simple, so that expected positions
// can be worked out by hand: a line of text is lineHeightPerPoint pixels per point high and
// each character charWidthPerPoint pixels per point wide.
namespace kovanta::print {

struct RecordingMetrics {
    int dpiX = 254; // at 254 dpi one pixel is a tenth of a millimetre
    int dpiY = 254;
    PrintSize physicalPage{2100, 2970}; // A4
    PrintSize printable{2100, 2970};
    PrintPoint offset{0, 0};
    int lineHeightPerPoint = 5; // 8 pt: 40 pixels
    int charWidthPerPoint = 2;  // 8 pt: 16 pixels per character
};

struct RecordedOp {
    enum Kind { BeginJob, EndJob, NewPage, Font, Text, Line };
    Kind kind = Text;
    int job = 0;  // 1 for the first job
    int page = 0; // 1 for the first page of a job
    std::string text; // Text: the text; BeginJob: the title
    PrintRect box;    // Text: the box; Line: (x1, y1, x2, y2) as (left, top, right, bottom)
    Align align = Align::Left;
    PrintFont font; // Text and Font: the font in use
};

class RecordingCanvas : public PrintCanvas {
public:
    explicit RecordingCanvas(RecordingMetrics metrics = {}) : metrics_(metrics) {}

    // When set, BeginJob of job number failJob throws PrintError (0: never).
    void FailJob(int job) { failJob_ = job; }

    // Only the operations of one kind, optionally of one job and page (0: any).
    std::vector<RecordedOp> OpsOf(RecordedOp::Kind kind, int job = 0, int page = 0) const;
    // The texts drawn on one page of one job, in drawing order.
    std::vector<std::string> TextsOn(int job, int page) const;
    int Jobs() const { return job_; }
    // Pages of a job (1-based); 0 for a job that was not begun.
    int PagesOf(int job) const;
    bool InJob() const { return inJob_; }

    void BeginJob(std::string_view title) override;
    void EndJob() noexcept override;
    void NewPage() override;
    int DpiX() const override { return metrics_.dpiX; }
    int DpiY() const override { return metrics_.dpiY; }
    PrintSize PhysicalPageSize() const override { return metrics_.physicalPage; }
    PrintSize PrintableSize() const override { return metrics_.printable; }
    PrintPoint PhysicalOffset() const override { return metrics_.offset; }
    void SetFont(const PrintFont& font) override;
    int TextHeight() const override;
    int TextWidth(std::string_view text) const override;
    void DrawText(const PrintRect& box, std::string_view text, Align align) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;

private:
    void Record(RecordedOp op);

    RecordingMetrics metrics_;
    std::vector<RecordedOp> ops_;
    std::vector<int> pages_; // pages per job
    PrintFont font_{"", 8, false, false};
    int job_ = 0;
    int page_ = 0;
    int failJob_ = 0;
    bool inJob_ = false;
};

} // namespace kovanta::print
