#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QPrinter;
class QWidget;

namespace kovanta {

namespace print {
class Printout;
}

class MenuPlan;
class TImpListInfo;
class TRezeptImportProz;

// What printing needs of the main window, and nothing more. The main window implements it.
class PrintPort {
public:
    virtual ~PrintPort() = default;
    // Parent of the dialogs; disabled while a printout is made.
    virtual QWidget* printWindow() = 0;
    // The tab whose contents are printed (TabIndex), -1 while the tabs are not shown.
    virtual int printTab() const = 0;
    // The recipes the recipe list shows, top to bottom (the quick filter's hidden ones left
    // out).
    virtual std::vector<const TImpListInfo*> shownRecipes() const = 0;
    // The menu plan with its requirements list.
    virtual const MenuPlan& printPlan() const = 0;
    // The recipe list's current recipe, nullptr for none.
    virtual const TImpListInfo* currentRecipe() const = 0;
    // Brings the preview up to the current recipe; true when it then shows it (false when
    // there is none or its file cannot be read).
    virtual bool previewCurrentRecipe() = 0;
    virtual const TRezeptImportProz& printProz() const = 0;
};

// Printing from the main window (docs/printing.md): the "Drucken" tool button and the "Datei"
// menu items "&Drucken..." (Ctrl+P) and "Druckvorschau...", which print or preview what the
// current tab shows: the recipe list, the previewed recipe, the menu plan or the requirements
// list. The menu items are enabled as the print button is (setAvailable()); the window puts them
// into its "Datei" menu.
//
// Printing asks for a printer first; cancelling changes nothing. Then the main window is
// disabled until the printout is done, and enabled again also after an error, which is then
// shown in a message box. The chosen number of copies gives one print job per copy, each with
// page numbers from 1; printed to a file, the copies follow one another in that one file.
//
// On "Vorschau" the recipe printout is exactly the recipe the preview shows, read again from
// its file for the plan's portions: the preview is brought up to the current row first, and
// when the recipe's file cannot be read a message names the recipe, the file and why, and
// nothing is printed. A PDF printed to a file is written as every file of the program is
// (AtomicFile): complete or not at all, the earlier file kept after a failure.
//
// Keeps the printer chosen last. The port must outlive the object.
class PrintActions : public QObject {
    Q_OBJECT
public:
    // Lets the user choose and set up printer (Qt's print dialog); false when cancelled.
    using PrinterDialog = std::function<bool(QWidget* parent, QPrinter& printer)>;
    // Shows the pages of printer as paint draws them until the user closes the preview (Qt's
    // print preview dialog). paint may be called again, e.g. to print from the preview.
    using PreviewRunner = std::function<void(QWidget* parent, QPrinter& printer,
                                             const std::function<void(QPrinter*)>& paint)>;
    // Tells the user that printing failed.
    using ErrorReporter = std::function<void(QWidget* parent, const QString& message)>;

    explicit PrintActions(PrintPort& port, QObject* parent = nullptr);
    ~PrintActions() override;

    QAction* printAction() const { return printAction_; }
    QAction* previewAction() const { return previewAction_; }
    // Enables or disables both menu items (as the print button, and only while the tabs show).
    void setAvailable(bool available);

    // Qt's print dialog, the default PrinterDialog. An output file that exists and is neither a
    // regular file nor a directory (a FIFO, socket or device) is refused in the dialog.
    static bool choosePrinter(QWidget* parent, QPrinter& printer);

    // Seams for tests; the defaults are Qt's dialogs and a message box.
    void setPrinterDialog(PrinterDialog dialog) { printerDialog_ = std::move(dialog); }
    void setPreviewRunner(PreviewRunner runner) { previewRunner_ = std::move(runner); }
    void setErrorReporter(ErrorReporter reporter) { errorReporter_ = std::move(reporter); }

    // "Drucken": the current tab's printout to a printer chosen in the printer dialog.
    void print();
    // "Druckvorschau...": the current tab's printout in the preview.
    void preview();

private:
    // The printout of the current tab, from what the tab shows; nullptr when the tab area is
    // not shown or there is nothing to print (then the user has been told why).
    std::unique_ptr<print::Printout> currentPrintout();
    // The recipe printout of what the preview shows; nullptr after telling why there is none.
    std::unique_ptr<print::Printout> previewedRecipePrintout();
    // Prints copies of printout on printer (copies as the printer says), the window disabled;
    // errors are reported.
    void printOn(QPrinter& printer, const print::Printout& printout);

    PrintPort& port_;
    std::unique_ptr<QPrinter> printer_;
    QAction* printAction_ = nullptr;
    QAction* previewAction_ = nullptr;
    PrinterDialog printerDialog_;
    PreviewRunner previewRunner_;
    ErrorReporter errorReporter_;
};

} // namespace kovanta
