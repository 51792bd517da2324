#include "recordingcanvas.h"

namespace kovanta::print {

std::vector<RecordedOp> RecordingCanvas::OpsOf(RecordedOp::Kind kind, int job, int page) const
{
    std::vector<RecordedOp> out;
    for (const RecordedOp& op : ops_) {
        if (op.kind == kind && (job == 0 || op.job == job) && (page == 0 || op.page == page))
            out.push_back(op);
    }
    return out;
}

std::vector<std::string> RecordingCanvas::TextsOn(int job, int page) const
{
    std::vector<std::string> out;
    for (const RecordedOp& op : OpsOf(RecordedOp::Text, job, page))
        out.push_back(op.text);
    return out;
}

int RecordingCanvas::PagesOf(int job) const
{
    return job >= 1 && job <= static_cast<int>(pages_.size()) ? pages_[job - 1] : 0;
}

void RecordingCanvas::Record(RecordedOp op)
{
    op.job = job_;
    op.page = page_;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::BeginJob(std::string_view title)
{
    if (failJob_ == job_ + 1)
        throw PrintError("Druckauftrag kann nicht begonnen werden");
    ++job_;
    page_ = 1;
    pages_.push_back(1);
    inJob_ = true;
    RecordedOp op;
    op.kind = RecordedOp::BeginJob;
    op.text = std::string(title);
    Record(std::move(op));
}

void RecordingCanvas::EndJob() noexcept
{
    if (!inJob_)
        return;
    inJob_ = false;
    RecordedOp op;
    op.kind = RecordedOp::EndJob;
    Record(std::move(op));
}

void RecordingCanvas::NewPage()
{
    ++page_;
    if (!pages_.empty())
        pages_.back() = page_;
    RecordedOp op;
    op.kind = RecordedOp::NewPage;
    Record(std::move(op));
}

void RecordingCanvas::SetFont(const PrintFont& font)
{
    font_ = font;
    RecordedOp op;
    op.kind = RecordedOp::Font;
    op.font = font;
    Record(std::move(op));
}

int RecordingCanvas::TextHeight() const
{
    return font_.pointSize * metrics_.lineHeightPerPoint;
}

int RecordingCanvas::TextWidth(std::string_view text) const
{
    return static_cast<int>(text.size()) * font_.pointSize * metrics_.charWidthPerPoint;
}

void RecordingCanvas::DrawText(const PrintRect& box, std::string_view text, Align align)
{
    RecordedOp op;
    op.kind = RecordedOp::Text;
    op.text = std::string(text);
    op.box = box;
    op.align = align;
    op.font = font_;
    Record(std::move(op));
}

void RecordingCanvas::DrawLine(int x1, int y1, int x2, int y2)
{
    RecordedOp op;
    op.kind = RecordedOp::Line;
    op.box = PrintRect{x1, y1, x2, y2};
    op.font = font_;
    Record(std::move(op));
}

} // namespace kovanta::print
