// The recipe list of 20,000 recipes printed into a PDF (A4, 600 dpi), against the least any
// printout of it must do: drawing the same strings at the same positions with bare
// QPainter::drawText into a PDF, with the pages broken at the same rows. Both write into
// memory, so that the disk does not take part.
//   BM_PrintRecipeList       the printout: frame, header rows, table rows with their rules;
//   BM_BareDrawText          the floor: the recorded strings and positions, drawText only;
//   BM_RatioPrintToDrawText  both in turn; the counter "ratio" is the printout's thread CPU
//                            time over the floor's. The goal is at most 1.5.
#include "benchsupport.h"
#include "print/listprintouts.h"
#include "print/qt/paintercanvas.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <memory>

namespace {

using namespace kovanta;
using namespace kovanta::print;

constexpr std::size_t kRecipes = 20000;
const PrintDate kDate{6, 12, 2026};

std::unique_ptr<QPdfWriter> A4Writer(QBuffer& buffer)
{
    auto writer = std::make_unique<QPdfWriter>(&buffer);
    writer->setResolution(600);
    writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return writer;
}

// Forwards to a painter canvas and notes every text with where it lands.
class NotingCanvas : public PrintCanvas {
public:
    struct Item {
        int page;
        QFont font;
        QPoint at;
        QString text;
    };
    explicit NotingCanvas(PainterCanvas& inner) : inner_(inner) {}

    void BeginJob(std::string_view title) override { inner_.BeginJob(title); }
    void EndJob() noexcept override { inner_.EndJob(); }
    void NewPage() override
    {
        inner_.NewPage();
        ++page_;
    }
    int DpiX() const override { return inner_.DpiX(); }
    int DpiY() const override { return inner_.DpiY(); }
    PrintSize PhysicalPageSize() const override { return inner_.PhysicalPageSize(); }
    PrintSize PrintableSize() const override { return inner_.PrintableSize(); }
    PrintPoint PhysicalOffset() const override { return inner_.PhysicalOffset(); }
    void SetFont(const PrintFont& font) override
    {
        inner_.SetFont(font);
        font_ = QFont(QString::fromStdString(font.face));
        font_.setPointSize(font.pointSize);
        font_.setBold(font.bold);
        font_.setItalic(font.italic);
        font_.setHintingPreference(QFont::PreferNoHinting);
    }
    int TextHeight() const override { return inner_.TextHeight(); }
    int TextWidth(std::string_view text) const override { return inner_.TextWidth(text); }
    void DrawText(const PrintRect& box, std::string_view text, Align align) override
    {
        inner_.DrawText(box, text, align);
        if (text.empty())
            return;
        const int width = inner_.TextWidth(text);
        int x = box.left;
        if (align == Align::Right)
            x = box.right - width;
        else if (align == Align::Centre)
            x = box.left + (box.right - box.left - width) / 2;
        items.push_back(Item{page_, font_, QPoint(x, box.top + inner_.TextHeight() * 4 / 5),
                             QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))});
    }
    void DrawLine(int x1, int y1, int x2, int y2) override { inner_.DrawLine(x1, y1, x2, y2); }

    std::vector<Item> items;

private:
    PainterCanvas& inner_;
    QFont font_;
    int page_ = 1;
};

class Collection {
public:
    static const Collection& Get()
    {
        static const Collection c;
        return c;
    }
    const ListPrintout& Printout() const { return *printout_; }
    const std::vector<NotingCanvas::Item>& Items() const { return items_; }
    int Pages() const { return pages_; }

private:
    Collection()
    {
        const auto dir = bench::MakeScratchDir("kovanta-bench-print");
        recipegen::CollectionShape shape;
        shape.seed = 12;
        shape.listFiles = 100;
        shape.entriesPerList = kRecipes / 100;
        recipegen::WriteCollection(dir.string() + "/", shape);
        const TRezeptImportProz proz;
        RecipeList list;
        for (const auto& file : std::filesystem::directory_iterator(dir))
            proz.ReadRecipeIndex(file.path().string(), list);
        std::filesystem::remove_all(dir);
        ListTable table;
        table.header = RecipeListPrintHeader();
        for (const RecipeListItem& item : list)
            table.rows.push_back(ListRow{RecipeListTexts(*item.Entry), true});
        printout_ = std::make_unique<ListPrintout>(ListPrintout::RecipeList(std::move(table)));

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        auto writer = A4Writer(buffer);
        PainterCanvas canvas(*writer, {true, {}});
        NotingCanvas noting(canvas);
        PrintDocument(noting, *printout_, 1, kDate);
        canvas.Finish();
        pages_ = canvas.PagesBegun();
        items_ = std::move(noting.items);
    }

    std::unique_ptr<ListPrintout> printout_;
    std::vector<NotingCanvas::Item> items_;
    int pages_ = 0;
};

std::size_t PrintList(const ListPrintout& printout)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        auto writer = A4Writer(buffer);
        PrintOnDevice(*writer, printout, 1, kDate, {true, {}});
    }
    return static_cast<std::size_t>(buffer.size());
}

std::size_t DrawTextOnly(const std::vector<NotingCanvas::Item>& items)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        auto writer = A4Writer(buffer);
        QPainter painter(writer.get());
        int page = 1;
        QFont font;
        for (const NotingCanvas::Item& item : items) {
            if (item.page != page) {
                writer->newPage();
                page = item.page;
            }
            if (item.font != font) {
                font = item.font;
                painter.setFont(font);
            }
            painter.drawText(item.at, item.text);
        }
    }
    return static_cast<std::size_t>(buffer.size());
}

double CpuNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

void BM_PrintRecipeList(benchmark::State& state)
{
    const Collection& c = Collection::Get();
    for (auto _ : state)
        benchmark::DoNotOptimize(PrintList(c.Printout()));
    state.counters["pages"] = c.Pages();
    state.counters["rows"] = static_cast<double>(c.Printout().PrintedRows().size());
}

void BM_BareDrawText(benchmark::State& state)
{
    const Collection& c = Collection::Get();
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawTextOnly(c.Items()));
    state.counters["strings"] = static_cast<double>(c.Items().size());
}

// Both in turn within each iteration, so that a busy machine slows both alike.
void BM_RatioPrintToDrawText(benchmark::State& state)
{
    const Collection& c = Collection::Get();
    double print = 0, bare = 0;
    for (auto _ : state) {
        const double t0 = CpuNanoseconds();
        benchmark::DoNotOptimize(DrawTextOnly(c.Items()));
        const double t1 = CpuNanoseconds();
        benchmark::DoNotOptimize(PrintList(c.Printout()));
        const double t2 = CpuNanoseconds();
        bare += t1 - t0;
        print += t2 - t1;
    }
    state.counters["ratio"] = bare > 0 ? print / bare : 0;
}

} // namespace

BENCHMARK(BM_PrintRecipeList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDrawText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatioPrintToDrawText)->Unit(benchmark::kMillisecond)->MinTime(5.0);
