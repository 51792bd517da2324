#include "paintercanvas.h"

#include "platform/qt/ansiqstring.h"

#include <QDate>

#include <algorithm>
#include <QPageLayout>
#include <QPagedPaintDevice>

namespace kovanta::print {

namespace {

QFont MakeFont(const PrintFont& f)
{
    QFont font(QString::fromUtf8(f.face.data(), static_cast<qsizetype>(f.face.size())));
    font.setPointSize(f.pointSize);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    // Printed layout must not depend on the screen: unhinted outlines, exact advances.
    font.setHintingPreference(QFont::PreferNoHinting);
    // As the printouts were laid out: every character at its own advance.
    font.setKerning(false);
    return font;
}

} // namespace

// The table rules of a list are drawn row by row; joined, a page carries a few dozen lines
// instead of hundreds, which keeps the PDF small and quick to write.
void MergeAxisLines(std::vector<QLine>& lines)
{
    std::vector<QLine> upright, level, other;
    for (const QLine& l : lines) {
        if (l.x1() == l.x2())
            upright.emplace_back(l.x1(), std::min(l.y1(), l.y2()), l.x2(), std::max(l.y1(), l.y2()));
        else if (l.y1() == l.y2())
            level.emplace_back(std::min(l.x1(), l.x2()), l.y1(), std::max(l.x1(), l.x2()), l.y2());
        else
            other.push_back(l);
    }
    lines.clear();
    std::sort(upright.begin(), upright.end(), [](const QLine& a, const QLine& b) {
        return a.x1() != b.x1() ? a.x1() < b.x1() : a.y1() < b.y1();
    });
    for (const QLine& l : upright) {
        if (!lines.empty() && lines.back().x1() == l.x1() && lines.back().x2() == l.x2() &&
            l.y1() <= lines.back().y2() + 1)
            lines.back().setP2(QPoint(l.x2(), std::max(lines.back().y2(), l.y2())));
        else
            lines.push_back(l);
    }
    const std::size_t levelStart = lines.size();
    std::sort(level.begin(), level.end(), [](const QLine& a, const QLine& b) {
        return a.y1() != b.y1() ? a.y1() < b.y1() : a.x1() < b.x1();
    });
    for (const QLine& l : level) {
        if (lines.size() > levelStart && lines.back().y1() == l.y1() &&
            l.x1() <= lines.back().x2() + 1)
            lines.back().setP2(QPoint(std::max(lines.back().x2(), l.x2()), l.y2()));
        else
            lines.push_back(l);
    }
    lines.insert(lines.end(), other.begin(), other.end());
}

PainterCanvas::PainterCanvas(QPagedPaintDevice& device, Options options)
    : device_(device), options_(std::move(options))
{
    SetFont(PrintFont{"Liberation Sans", 8, false, false});
}

PainterCanvas::~PainterCanvas()
{
    Finish();
}

bool PainterCanvas::Finish()
{
    FlushLines();
    if (painter_.isActive() && !painter_.end())
        failed_ = true;
    return !failed_;
}

void PainterCanvas::BeginJob(std::string_view title)
{
    if (options_.setTitle)
        options_.setTitle(ansiToQString(title));
    if (options_.oneDocumentForAllJobs && painter_.isActive()) {
        NewPage();
        return;
    }
    if (painter_.isActive()) {
        FlushLines();
        painter_.end();
    }
    device_.setPageOrientation(QPageLayout::Portrait);
    if (!painter_.begin(&device_))
        throw PrintError("Der Druckauftrag konnte nicht begonnen werden.");
    ++pagesBegun_;
    // Fonts measured before the job may have been measured at another resolution.
    const PrintFont key = fonts_[current_].key;
    fonts_.clear();
    SetFont(key);
}

void PainterCanvas::EndJob() noexcept
{
    if (options_.oneDocumentForAllJobs)
        return;
    try {
        FlushLines();
    } catch (...) {
        failed_ = true; // out of memory: the lines of the last page are lost
    }
    if (painter_.isActive() && !painter_.end())
        failed_ = true;
}

void PainterCanvas::FlushLines()
{
    if (!lines_.empty() && painter_.isActive()) {
        MergeAxisLines(lines_);
        painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    }
    lines_.clear();
}

void PainterCanvas::NewPage()
{
    FlushLines();
    if (!device_.newPage())
        throw PrintError("Eine neue Seite konnte nicht begonnen werden.");
    ++pagesBegun_;
}

int PainterCanvas::DpiX() const
{
    return device_.logicalDpiX();
}

int PainterCanvas::DpiY() const
{
    return device_.logicalDpiY();
}

PrintSize PainterCanvas::PhysicalPageSize() const
{
    const QRect full = device_.pageLayout().fullRectPixels(DpiX());
    return {full.width(), full.height()};
}

PrintSize PainterCanvas::PrintableSize() const
{
    return {device_.width(), device_.height()};
}

PrintPoint PainterCanvas::PhysicalOffset() const
{
    const QPoint topLeft = device_.pageLayout().paintRectPixels(DpiX()).topLeft();
    return {topLeft.x(), topLeft.y()};
}

void PainterCanvas::SetFont(const PrintFont& font)
{
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i].key == font) {
            current_ = i;
            if (painter_.isActive())
                painter_.setFont(fonts_[i].font);
            return;
        }
    }
    LoadedFont loaded;
    loaded.key = font;
    loaded.font = MakeFont(font);
    const QFontMetrics metrics(loaded.font, &device_);
    const int leading = std::max(0, metrics.leading());
    loaded.lineSpacing = metrics.height() + leading;
    loaded.baseline = leading + metrics.ascent();
    const QFontMetricsF exact(loaded.font, &device_);
    std::string allBytes(256, '\0');
    for (int c = 0; c < 256; ++c)
        allBytes[static_cast<std::size_t>(c)] = static_cast<char>(c);
    const QString allChars = ansiToQString(allBytes);
    for (int c = 0; c < 256; ++c)
        loaded.advances[static_cast<std::size_t>(c)] = exact.horizontalAdvance(allChars[c]);
    const QFont qfont = loaded.font;
    fonts_.push_back(std::move(loaded));
    current_ = fonts_.size() - 1;
    if (painter_.isActive())
        painter_.setFont(qfont);
}

const PainterCanvas::LoadedFont& PainterCanvas::Current() const
{
    return fonts_[current_];
}

int PainterCanvas::TextHeight() const
{
    return Current().lineSpacing;
}

int PainterCanvas::TextWidth(std::string_view text) const
{
    return WidthOf(text);
}

int PainterCanvas::WidthOf(std::string_view text) const
{
    const auto& advances = Current().advances;
    qreal width = 0;
    for (const char c : text)
        width += advances[static_cast<unsigned char>(c)];
    return qRound(width);
}

void PainterCanvas::DrawText(const PrintRect& box, std::string_view text, Align align)
{
    if (text.empty() || box.right <= box.left || box.bottom <= box.top || !painter_.isActive())
        return;
    const LoadedFont& f = Current();
    const QString s = ansiToQString(text);
    const int width = WidthOf(text);
    const int room = box.right - box.left;
    int x = box.left;
    if (align == Align::Right)
        x = box.right - width;
    else if (align == Align::Centre)
        x = box.left + (room - width) / 2;
    const QPoint baseline(x, box.top + f.baseline);
    // Clipping costs a graphics state in the PDF; only a line that does not fit needs it.
    if (width <= room && box.top + f.lineSpacing <= box.bottom) {
        painter_.drawText(baseline, s);
        return;
    }
    painter_.save();
    painter_.setClipRect(QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1)));
    painter_.drawText(baseline, s);
    painter_.restore();
}

void PainterCanvas::DrawLine(int x1, int y1, int x2, int y2)
{
    if (painter_.isActive())
        lines_.emplace_back(x1, y1, x2, y2);
}

PrintDate TodayForPrint()
{
    const QDate today = QDate::currentDate();
    return {today.day(), today.month(), today.year()};
}

void PrintOnDevice(QPagedPaintDevice& device, const Printout& printout, int copies,
                   const PrintDate& date, PainterCanvasOptions options)
{
    PainterCanvas canvas(device, std::move(options));
    PrintDocument(canvas, printout, copies, date);
    if (!canvas.Finish())
        throw PrintError("Der Druck konnte nicht abgeschlossen werden.");
}

} // namespace kovanta::print
