#include "printactions.h"

#include "hint.h"
#include "platform/qt/ansiqstring.h"
#include "platform/qt/qtstrings.h"
#include "print/listprintouts.h"
#include "print/qt/paintercanvas.h"
#include "print/qt/pdffile.h"
#include "print/recipeprintout.h"
#include "startup.h"
#include "tablayout.h"
#include "views/menuplan.h"

#include <QAction>
#include <QChildEvent>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>

namespace kovanta {

namespace {

// The lists as printed: every shown recipe; the occupied plan rows in plan order; every row of
// the requirements list as it shows (quantities as the cook may have adjusted them).
print::ListTable RecipeListTable(const std::vector<const TImpListInfo*>& recipes)
{
    print::ListTable table;
    table.header = print::RecipeListPrintHeader();
    table.rows.reserve(recipes.size());
    for (const TImpListInfo* recipe : recipes)
        table.rows.push_back({RecipeListTexts(*recipe)});
    return table;
}

print::ListTable PlanTable(const MenuPlan& plan)
{
    print::ListTable table;
    table.header = print::MenuPlanPrintHeader();
    for (const MenuPlan::PlannedRow& row : plan.plannedRows())
        table.rows.push_back({{row.portions, row.entry->ShortName, row.entry->GroupName}});
    return table;
}

print::ListTable RequirementsTable(const MenuPlan& plan)
{
    print::ListTable table;
    table.header = print::RequirementsPrintHeader();
    for (const MenuPlan::RequirementRow& row : plan.requirementRows())
        table.rows.push_back({{row.quantity, row.unit, row.article}});
    return table;
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The window stays disabled while a printout is made; enabled again whatever happens.
class DisabledWhilePrinting {
public:
    explicit DisabledWhilePrinting(QWidget& window) : window_(window) { window_.setEnabled(false); }
    ~DisabledWhilePrinting() { window_.setEnabled(true); }
    DisabledWhilePrinting(const DisabledWhilePrinting&) = delete;
    DisabledWhilePrinting& operator=(const DisabledWhilePrinting&) = delete;

private:
    QWidget& window_;
};

// Qt's print dialog opens an existing output file to see whether it may be written: a FIFO
// without a reader blocks the program there for good. So "Drucken" first refuses a name that is
// neither a regular file nor a directory, as the printout itself would refuse it; then the
// dialog's own checks run. (They are a private slot of the dialog; should a Qt version not have
// it, its connection stays as it is.)
void RefuseOutputsThatAreNoFile(QPrintDialog& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!buttons || !file ||
        !QObject::disconnect(buttons, SIGNAL(accepted()), &dialog, SLOT(_q_checkFields())))
        return;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, file] {
        const QFileInfo info(file->text());
        if (file->isEnabled() && info.exists() && !info.isFile() && !info.isDir()) {
            QMessageBox box(QMessageBox::Warning, dialog.windowTitle(),
                            QStringLiteral("%1 ist keine normale Datei.\nBitte einen anderen "
                                           "Dateinamen wählen.")
                                .arg(Quoted(file->text())),
                            QMessageBox::Ok, &dialog);
            box.setObjectName(QStringLiteral("PrintFileRefused"));
            box.exec();
            return;
        }
        QMetaObject::invokeMethod(&dialog, "_q_checkFields");
    });
}

// The preview's own "Drucken" opens a print dialog of its own; it gets the same refusal.
class PrintDialogWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildPolished) {
            if (auto* dialog = qobject_cast<QPrintDialog*>(static_cast<QChildEvent*>(event)->child()))
                RefuseOutputsThatAreNoFile(*dialog); // once: then Qt's connection is gone
        }
        return QObject::eventFilter(watched, event);
    }
};

void ShowPreviewDialog(QWidget* parent, QPrinter& printer,
                       const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.installEventFilter(new PrintDialogWatcher(&dialog));
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Druckvorschau"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

// Printing to a PDF file, not a printer and not the preview (whose pages are drawn on a
// printer with the file name still set from before).
bool WritesPdfFile(QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
           printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Pdf;
}

void ShowError(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), message, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("PrintError"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

} // namespace

bool PrintActions::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    RefuseOutputsThatAreNoFile(dialog);
    return dialog.exec() == QDialog::Accepted;
}

PrintActions::PrintActions(PrintPort& port, QObject* parent)
    : QObject(parent), port_(port), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      printerDialog_(choosePrinter), previewRunner_(ShowPreviewDialog), errorReporter_(ShowError)
{
    setObjectName(QStringLiteral("PrintActions"));
    printer_->setPageOrientation(QPageLayout::Portrait);

    printAction_ = new QAction(QStringLiteral("&Drucken..."), this);
    printAction_->setObjectName(QStringLiteral("Drucken1"));
    printAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    applyHint(printAction_, QStringLiteral("Drucken|Druckt, was die aktuelle Seite zeigt"));
    previewAction_ = new QAction(QStringLiteral("Druckvorschau..."), this);
    previewAction_->setObjectName(QStringLiteral("Druckvorschau1"));
    applyHint(previewAction_,
              QStringLiteral("Druckvorschau|Zeigt die Druckseiten der aktuellen Seite"));
    connect(printAction_, &QAction::triggered, this, &PrintActions::print);
    connect(previewAction_, &QAction::triggered, this, &PrintActions::preview);
    setAvailable(false);
}

PrintActions::~PrintActions() = default;

void PrintActions::setAvailable(bool available)
{
    printAction_->setEnabled(available);
    previewAction_->setEnabled(available);
}

std::unique_ptr<print::Printout> PrintActions::currentPrintout()
{
    switch (port_.printTab()) {
    case TabRecipeList:
        return std::make_unique<print::ListPrintout>(
            print::ListPrintout::RecipeList(RecipeListTable(port_.shownRecipes())));
    case TabPreview:
        return previewedRecipePrintout();
    case TabMenuPlan:
        return std::make_unique<print::ListPrintout>(
            print::ListPrintout::MenuPlan(PlanTable(port_.printPlan())));
    case TabRequirements:
        return std::make_unique<print::ListPrintout>(print::ListPrintout::Requirements(
            RequirementsTable(port_.printPlan()), port_.printPlan().alternativesFound()));
    default:
        return nullptr;
    }
}

std::unique_ptr<print::Printout> PrintActions::previewedRecipePrintout()
{
    const TImpListInfo* recipe = port_.currentRecipe();
    if (!recipe) {
        errorReporter_(port_.printWindow(), QStringLiteral("Es ist kein Rezept gewählt, das gedruckt werden "
                                                "könnte."));
        return nullptr;
    }
    // What the preview shows is what is printed: a preview that could not follow the current
    // row (its file unreadable) still shows another recipe, which must not go out in its place.
    PrintGrid grid;
    const bool shown = port_.previewCurrentRecipe();
    RecipeOpenError error = RecipeOpenError::None;
    const bool filled = FillPrintGrid(port_.printProz(), *recipe, grid,
                                      port_.printPlan().plannedPortions(*recipe), &error);
    if (!shown || !filled) {
        std::string reason = DescribeRecipeOpenError(port_.printProz(), *recipe, error);
        if (reason.empty())
            reason = "kann nicht gelesen werden";
        errorReporter_(port_.printWindow(),
                       QStringLiteral("Das Rezept %1 kann nicht gedruckt werden: %2 %3.")
                           .arg(Quoted(ansiToQString(Trim(recipe->ShortName))),
                                Quoted(displayPath(recipe->FileName)),
                                QString::fromStdString(reason)));
        return nullptr;
    }
    return std::make_unique<print::RecipePrintout>(std::move(grid));
}

void PrintActions::printOn(QPrinter& printer, const print::Printout& printout)
{
    // One job per copy, made here: the printer is asked for one copy per job.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    QString error;
    {
        const DisabledWhilePrinting disabled(*port_.printWindow());
        if (WritesPdfFile(printer)) {
            // Not through the printer, which would write straight into the file: a failure
            // halfway would leave half a PDF in place of the earlier one.
            print::PdfFileSettings settings;
            settings.layout = printer.pageLayout();
            settings.resolution = printer.resolution();
            settings.creator = printer.creator().isEmpty() ? applicationTitle() : printer.creator();
            const QString file = printer.outputFileName();
            const std::string why = print::WritePdfFile(fsPath(file), printout, copies,
                                                        print::TodayForPrint(), settings);
            if (!why.empty())
                error = Quoted(file) + QLatin1Char(' ') + QString::fromStdString(why);
        } else {
            print::PainterCanvas::Options options;
            // A second job into the same file would overwrite the first.
            options.oneDocumentForAllJobs = !printer.outputFileName().isEmpty();
            options.setTitle = [&printer](const QString& title) { printer.setDocName(title); };
            try {
                print::PrintOnDevice(printer, printout, copies, print::TodayForPrint(), options);
            } catch (const std::exception& e) {
                error = QString::fromUtf8(e.what());
            }
        }
    }
    if (!error.isEmpty())
        errorReporter_(port_.printWindow(), QStringLiteral("Fehler beim Drucken: ") + error);
}

void PrintActions::print()
{
    if (!printAction_->isEnabled())
        return;
    // Made before the printer is chosen: a recipe that cannot be printed is said at once.
    std::unique_ptr<print::Printout> printout = currentPrintout();
    if (!printout || !printerDialog_(port_.printWindow(), *printer_))
        return;
    printOn(*printer_, *printout);
}

void PrintActions::preview()
{
    if (!previewAction_->isEnabled())
        return;
    std::unique_ptr<print::Printout> printout = currentPrintout();
    if (!printout)
        return;
    previewRunner_(port_.printWindow(), *printer_,
                   [this, &printout](QPrinter* printer) { printOn(*printer, *printout); });
}

} // namespace kovanta
