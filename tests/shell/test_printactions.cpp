// Printing from the main window as a cook does it: "Drucken" on each tab, Ctrl+P, the menu
// items, cancelling, an output that cannot be written, and the print preview. The print dialog
// is replaced by a seam that sets the printer up to write a PDF into the test's directory; the
// PDF is read back with pdftotext. Also the preview's clipboard copies, through the real
// clipboard.
#include "shell/printactions.h"
#include "shell/recipefilterbar.h"
#include "support/mainwindowdriver.h"
#include "support/pdftext.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <utility>

using namespace kovanta;
using fixture::Article;
using fixture::Text;
using pdf_test::Capture;
using pdf_test::Has;

namespace {

class PrintActionsTest : public window_test::MainWindowDriver {
protected:
    void SetUp() override
    {
        Write("REZ00001.DAT", "Gulasch", 10,
              {Article("150", "1", "kg", "Rindfleisch"), Text("", "Salz^Pfeffer^")});
        Write("REZ00002.DAT", "Kuchen", 4,
              {Article("25", "1", "kg", "Butter"), Text("", "oder^"),
               Article("25", "1", "kg", "Margarine")});
        open(50, QSize(1100, 700));
        actions = &window->printActions();
        actions->setPrinterDialog([this](QWidget*, QPrinter& printer) {
            ++dialogs;
            if (!accept)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(output));
            printer.setCopyCount(copies);
            return true;
        });
        actions->setErrorReporter([this](QWidget*, const QString& message) {
            errors.push_back(message);
            enabledAtError = window->isEnabled();
        });
        output = dir.dir() + "druck.pdf";
    }

    void Write(const std::string& file, const std::string& name, int portions,
               const std::vector<std::string>& body)
    {
        writeRecipe(file, name, portions, body, name + " nach Hausart");
    }

    QAbstractButton* printButton() const { return child<QAbstractButton>("HemisphereButton4"); }

    // Clicks "Drucken" and returns the text of the PDF written (empty when none).
    std::string PrintWithButton()
    {
        std::filesystem::remove(output);
        QTest::mouseClick(printButton(), Qt::LeftButton);
        QCoreApplication::processEvents();
        return PdfText();
    }

    std::string PdfText(int page = 0) const
    {
        return std::filesystem::exists(output) ? pdf_test::Text(output, page) : std::string();
    }
    int PdfPages() const { return pdf_test::Pages(output); }
    std::string PdfTitle() const { return Capture("pdfinfo '" + output + "'"); }

    PrintActions* actions = nullptr;
    std::string output;
    bool accept = true;
    int copies = 1;
    int dialogs = 0;
    std::vector<QString> errors;
    bool enabledAtError = false;
};

} // namespace

TEST_F(PrintActionsTest, EachTabPrintsItsOwnPrintout)
{
    start();
    chooseTab(TabRecipeList);
    copies = 2; // one after the other in the file, each from "Seite 1"
    std::string text = PrintWithButton();
    EXPECT_EQ(PdfPages(), 2);
    EXPECT_TRUE(Has(PdfText(2), "Seite 1"));
    copies = 1;
    EXPECT_TRUE(Has(text, "Rezeptliste +VEMO-KOVANTA")) << text;
    EXPECT_TRUE(Has(text, "Gulasch +Fleisch +10 +512 +2143 +3 +80 +30 +90")) << text;
    EXPECT_TRUE(Has(text, "Kuchen +Fleisch +4")) << text;
    // Only the rows the quick filter shows.
    window->tabs()->recipeFilter()->field()->setText(QStringLiteral("gul"));
    text = PrintWithButton();
    EXPECT_TRUE(Has(text, "Gulasch +Fleisch +10")) << text;
    EXPECT_FALSE(Has(text, "Kuchen")) << text;
    window->tabs()->recipeFilter()->field()->clear();

    chooseTab(TabPreview);
    clickCell(list(), 2, rowOf("Kuchen"));
    text = PrintWithButton();
    EXPECT_TRUE(Has(text, "Rezeptausdruck +VEMO-KOVANTA")) << text;
    EXPECT_TRUE(Has(text, "Rezept: Kuchen +, +Gruppe:Fleisch")) << text;
    EXPECT_TRUE(Has(text, "0,25 kg Butter")) << text;
    EXPECT_TRUE(Has(PdfTitle(), "Title: +Rezeptausdruck: Kuchen\n"));

    chooseTab(TabMenuPlan);
    clickCell(list(), 2, rowOf("Gulasch"), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 1) == "Gulasch"; }));
    text = PrintWithButton();
    EXPECT_TRUE(Has(text, "Speiseplan +VEMO-KOVANTA")) << text;
    EXPECT_TRUE(Has(text, "Portionen +Rezept +Gruppe")) << text;
    EXPECT_TRUE(Has(text, "10 +Gulasch +Fleisch")) << text;
    EXPECT_FALSE(Has(text, "Kuchen")) << text;
    EXPECT_TRUE(Has(PdfTitle(), "Title: +Speiseplan\n"));

    chooseTab(TabRequirements);
    QCoreApplication::processEvents();
    text = PrintWithButton();
    EXPECT_TRUE(Has(text, "Bedarfsliste +VEMO-KOVANTA")) << text;
    EXPECT_TRUE(Has(text, "1,5 +kg +Rindfleisch")) << text;
    EXPECT_FALSE(Has(text, "A C H T U N G")) << text;
    EXPECT_EQ(dialogs, 5);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(PrintActionsTest, PlannedPortionsScaleTheRecipeAndAlternativesAreWarned)
{
    start();
    chooseTab(TabMenuPlan);
    clickCell(list(), 2, rowOf("Kuchen"), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 1) == "Kuchen"; }));
    plan()->SetCell(1, 1, "40"); // as typed into the plan

    chooseTab(TabPreview);
    clickCell(list(), 2, rowOf("Kuchen"));
    const std::string recipe = PrintWithButton();
    EXPECT_TRUE(Has(recipe, "40 Portionen")) << recipe;
    EXPECT_TRUE(Has(recipe, "2,5 kg Butter")) << recipe;

    chooseTab(TabRequirements);
    QCoreApplication::processEvents();
    const std::string requirements = PrintWithButton();
    EXPECT_TRUE(Has(requirements, "A C H T U N G: +Alternativartikel enthalten!")) << requirements;
}

TEST_F(PrintActionsTest, MenuItemsAndCtrlPFollowThePrintButton)
{
    // The texts are asserted with the whole "Datei" menu (test_planfiles.cpp), Ctrl+P below.
    // The start page: nothing to print.
    EXPECT_FALSE(actions->printAction()->isEnabled());
    EXPECT_FALSE(actions->previewAction()->isEnabled());
    start();
    EXPECT_TRUE(actions->printAction()->isEnabled());
    chooseTab(TabRequirements);
    EXPECT_FALSE(actions->previewAction()->isEnabled());
    chooseTab(TabRecipeList);
    EXPECT_TRUE(actions->previewAction()->isEnabled());

    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(Has(PdfText(), "Rezeptliste"));
}

TEST_F(PrintActionsTest, CancellingPrintsNothingAndChangesNothing)
{
    start();
    chooseTab(TabPreview);
    clickCell(list(), 2, rowOf("Gulasch"));
    accept = false;
    EXPECT_TRUE(PrintWithButton().empty());
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_TRUE(window->isEnabled());
}

// "Print to File (PDF)" writes as every file of the program is written: nothing but a regular
// file or a new name is replaced (the printer's own file output would block on a FIFO).
TEST_F(PrintActionsTest, AnOutputThatCannotBeWrittenIsReportedAndTheWindowEnabled)
{
    start();
    ASSERT_EQ(::mkfifo((dir.dir() + "rohr.pdf").c_str(), 0600), 0);
    for (const auto& [name, why] :
         {std::pair<std::string, std::string>{"fehlt/druck.pdf", "kann nicht geschrieben werden (nicht gefunden)"},
          {"rohr.pdf", "ist keine normale Datei"}}) {
        errors.clear();
        output = dir.dir() + name;
        QTest::mouseClick(printButton(), Qt::LeftButton);
        ASSERT_EQ(errors.size(), 1u) << name;
        EXPECT_EQ(errors[0].toStdString(), "Fehler beim Drucken: \"" + output + "\" " + why);
        EXPECT_TRUE(enabledAtError);
        EXPECT_TRUE(window->isEnabled());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "fehlt"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() / "rohr.pdf"));

    // The next print works again.
    output = dir.dir() + "druck.pdf";
    EXPECT_TRUE(Has(PrintWithButton(), "Rezeptliste"));
}

// Qt's own dialog opens an existing output file to see whether it may be written; with a FIFO
// that blocked the program for good. The dialog, also the one "Drucken" in the print preview
// opens, refuses such a name and stays open.
TEST_F(PrintActionsTest, PrintDialogsRefuseAFifoAsOutputFile)
{
    const QString fifo = QString::fromStdString(dir.dir() + "rohr.pdf");
    ASSERT_EQ(::mkfifo(fifo.toStdString().c_str(), 0600), 0);
    QStringList refusals;
    // Polls the modal windows until the dialog is closed; "Drucken" blocks in the refusal.
    std::function<void()> drive = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        if (dialog && refusals.size() % 2 == 1) {
            dialog->reject();
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(dialog->parentWidget()))
                preview->reject();
            return;
        }
        QTimer::singleShot(20, drive);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            refusals << box->text();
            box->accept();
        } else if (dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(fifo);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
            for (QAction* action : preview->findChildren<QAction*>())
                if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                    action->trigger();
        }
    };
    QTimer::singleShot(20, drive);
    QPrinter printer;
    EXPECT_FALSE(PrintActions::choosePrinter(window.get(), printer));
    refusals << QString(); // the next dialog is filled in again
    QTimer::singleShot(20, drive);
    start();
    actions->previewAction()->trigger();
    const QString refused = QLatin1Char('"') + fifo +
                            QStringLiteral("\" ist keine normale Datei.\nBitte einen anderen "
                                           "Dateinamen wählen.");
    EXPECT_EQ(refusals, QStringList({refused, QString(), refused}));
}

// Previewing Gulasch, then Kuchen, then choosing a recipe whose file has gone: the preview still
// shows Kuchen, and printing says why it cannot print the chosen recipe instead of putting out
// another one. "Druckvorschau..." draws the same printout as "Drucken", without a dialog.
TEST_F(PrintActionsTest, VorschauPrintsWhatThePreviewShowsOrSaysWhyNot)
{
    Write("REZ00003.DAT", "Suppe", 8, {Article("50", "1", "l", "Br\x81he")});
    int paints = 0;
    actions->setPreviewRunner(
        [&](QWidget*, QPrinter& printer, const std::function<void(QPrinter*)>& paint) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(output));
            ++paints;
            paint(&printer);
        });
    start();
    chooseTab(TabPreview);
    clickCell(list(), 2, rowOf("Gulasch"));
    ASSERT_TRUE(Has(PrintWithButton(), "Rezept: Gulasch"));
    clickCell(list(), 2, rowOf("Kuchen"));
    actions->previewAction()->trigger();
    EXPECT_TRUE(Has(PdfText(), "0,25 kg Butter"));
    std::filesystem::remove(dir.path() / "REZ00003.DAT");
    clickCell(list(), 2, rowOf("Suppe"));
    ASSERT_TRUE(previewText().contains(QStringLiteral("Kuchen")));

    dialogs = 0;
    EXPECT_EQ(PrintWithButton(), "");
    actions->previewAction()->trigger();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].toStdString(), "Das Rezept \"Suppe\" kann nicht gedruckt werden: \"" +
                                           dir.dir() + "REZ00003.DAT\" nicht gefunden.");
    EXPECT_EQ(errors[1], errors[0]);
    EXPECT_EQ(std::pair(dialogs, paints), std::pair(0, 1)) << "no printer to choose for nothing";

    // Back again: the preview follows, and the recipe is printed.
    Write("REZ00003.DAT", "Suppe", 8, {Article("50", "1", "l", "Br\x81he")});
    const std::string text = PrintWithButton();
    EXPECT_TRUE(Has(text, "0,5 l Brühe")) << text;
    EXPECT_TRUE(previewText().contains(QStringLiteral("Suppe")));
    EXPECT_EQ(errors.size(), 2u);
}

TEST_F(PrintActionsTest, PreviewCopiesGoThroughTheClipboard)
{
    start();
    chooseTab(TabPreview);
    clickCell(list(), 2, rowOf("Gulasch"));
    QTextEdit* text = preview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return text->toPlainText().contains(QStringLiteral("Gulasch")); }));
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);

    QApplication::clipboard()->clear();
    QTest::mouseClick(child<QAbstractButton>("HemisphereButton5"), Qt::LeftButton);
    const QMimeData* whole = QApplication::clipboard()->mimeData();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->text(), text->toPlainText());
    EXPECT_TRUE(whole->hasHtml());
    EXPECT_TRUE(whole->html().contains(QStringLiteral("Rindfleisch")));
    // The selection is as it was.
    EXPECT_EQ(text->textCursor().selectionStart(), 3);
    EXPECT_EQ(text->textCursor().selectionEnd(), 10);

    child<QAction>("Kopieren1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), text->toPlainText().mid(3, 7));
}
