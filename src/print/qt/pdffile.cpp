#include "pdffile.h"

#include "paintercanvas.h"
#include "platform/atomicfile.h"

#include <QIODevice>
#include <QPdfWriter>

namespace kovanta::print {

namespace {

// The PDF writer's output device: what it writes goes into the atomic file.
class AtomicFileDevice : public QIODevice {
public:
    explicit AtomicFileDevice(AtomicFile& file) : file_(file) {}
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        return file_.write(std::string_view(data, static_cast<std::size_t>(length))) ? length
                                                                                     : -1;
    }

private:
    AtomicFile& file_;
};

} // namespace

std::string WritePdfFile(const std::string& path, const Printout& printout, int copies,
                         const PrintDate& date, const PdfFileSettings& settings)
{
    AtomicFile file(path);
    if (!file.open())
        return file.errorText();
    AtomicFileDevice device(file);
    device.open(QIODevice::WriteOnly);
    try {
        QPdfWriter writer(&device);
        writer.setResolution(settings.resolution);
        writer.setPageLayout(settings.layout);
        writer.setCreator(settings.creator);
        PainterCanvas::Options options;
        options.oneDocumentForAllJobs = true;
        options.setTitle = [&writer](const QString& title) { writer.setTitle(title); };
        PrintOnDevice(writer, printout, copies, date, options);
    } catch (const PrintError& e) {
        file.discard();
        return std::string("kann nicht geschrieben werden: ") + e.what();
    }
    device.close();
    if (!file.commit())
        return file.errorText();
    return {};
}

} // namespace kovanta::print
