#include "paintercanvas.h"

#include "platform/codepage.h"

#include <QDate>
#include <QPageLayout>
#include <QPagedPaintDevice>

namespace kovanta::print {

namespace {

QString ToQString(std::string_view ansi)
{
    QString out(static_cast<qsizetype>(ansi.size()), Qt::Uninitialized);
    QChar* data = out.data();
    for (std::size_t i = 0; i < ansi.size(); ++i)
        data[i] = QChar(codepage::ansiToUnicode(ansi[i]));
    return out;
}

QFont MakeFont(const PrintFont& f)
{
    QFont font(QString::fromUtf8(f.face.data(), static_cast<qsizetype>(f.face.size())));
    font.setPointSize(f.pointSize);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    // Printed layout must not depend on the screen: unhinted outlines, exact advances.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

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
    if (painter_.isActive() && !painter_.end())
        failed_ = true;
    return !failed_;
}

void PainterCanvas::BeginJob(std::string_view title)
{
    if (options_.setTitle)
        options_.setTitle(ToQString(title));
    if (options_.oneDocumentForAllJobs && painter_.isActive()) {
        NewPage();
        return;
    }
    if (painter_.isActive())
        painter_.end();
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
    if (painter_.isActive() && !painter_.end())
        failed_ = true;
}

void PainterCanvas::NewPage()
{
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
    QFont qfont = MakeFont(font);
    QFontMetrics metrics(qfont, &device_);
    const int leading = std::max(0, metrics.leading());
    fonts_.push_back(LoadedFont{font, qfont, metrics, metrics.height() + leading,
                                leading + metrics.ascent()});
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
    return Current().metrics.horizontalAdvance(ToQString(text));
}

void PainterCanvas::DrawText(const PrintRect& box, std::string_view text, Align align)
{
    if (text.empty() || box.right <= box.left || box.bottom <= box.top || !painter_.isActive())
        return;
    const LoadedFont& f = Current();
    const QString s = ToQString(text);
    const int width = f.metrics.horizontalAdvance(s);
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
        painter_.drawLine(x1, y1, x2, y2);
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
