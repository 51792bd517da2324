#include "mainactions.h"

#include "app/searchpaths.h"
#include "dialogs/durchsuchen.h"
#include "dialogs/pfaddatendefinition.h"
#include "guidetexts.h"
#include "hint.h"
#include "platform/qt/qtstrings.h"
#include "platform/qt/settingsstore.h"
#include "platform/strings.h"
#include "settings.h"
#include "startup.h"
#include "views/richtextpreview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <optional>
#include <string>
#include <vector>

namespace kovanta {
namespace {

const QString kOpenCaption = QStringLiteral("Rezeptdatenpfad hinzufügen");
const QString kOpenMask = QStringLiteral("REZ0*.DAT");

} // namespace

MainActions::MainActions(MainWindowPort& port, QMenuBar* bar, QObject* parent)
    : QObject(parent), port_(port)
{
    setObjectName(QStringLiteral("MainActions"));
    createMenus(bar);
}

void MainActions::createMenus(QMenuBar* bar)
{
    bar->setObjectName(QStringLiteral("SDIAppMenu"));

    auto add = [this](QMenu* menu, const char* name, const QString& caption, const QString& hint,
                      auto slot) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromUtf8(name));
        if (!hint.isEmpty())
            applyHint(a, hint);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    fileMenu_ = bar->addMenu(QStringLiteral("&Datei"));
    fileMenu_->setObjectName(QStringLiteral("Datei1"));
    add(fileMenu_, "Oeffnen1", QStringLiteral("Ö&ffnen..."), QStringLiteral("Datei öffnen"),
        &MainActions::openDirectory);
    add(fileMenu_, "WebRezepte1", QStringLiteral("Web-Rezepte..."),
        QStringLiteral("Rezepte aus dem Internet lesen"), &MainActions::openWebImport);
    fileMenu_->addSeparator();
    quit_ = add(fileMenu_, "Beenden1", QStringLiteral("&Beenden"),
                QStringLiteral("Anwendung beenden"), [this] { port_.portWidget()->close(); });
    quit_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));

    QMenu* options = bar->addMenu(QStringLiteral("&Optionen"));
    options->setObjectName(QStringLiteral("Optionen1"));
    rowFinder_ =
        add(options, "Zeilenfinder1", QStringLiteral("&Zeilenfinder"),
            QStringLiteral("Zeilenfinder in den Listen aktivieren"), &MainActions::toggleRowFinder);
    rowFinder_->setCheckable(true);
    maxWindow_ = add(options, "MaximaleFenstergroesse1", QStringLiteral("Maximale Fenstergröße"),
                     QStringLiteral("Starte die Anwendung in maximaler Bildschirmgröße"),
                     &MainActions::toggleMaxWindow);
    maxWindow_->setCheckable(true);
    options->addSeparator();
    add(options, "Verzeichnisse1", QStringLiteral("&Verzeichnisse"),
        QStringLiteral("Auswahl von Standardverzeichnissen"), &MainActions::editSearchPaths);

    QMenu* help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe1"));
    add(help, "Info1", QStringLiteral("&Info..."), QString(), &MainActions::showAbout);
}

void MainActions::setSwitches(bool rowFinder, bool maxWindow)
{
    rowFinder_->setChecked(rowFinder);
    maxWindow_->setChecked(maxWindow);
}

bool MainActions::rowFinder() const
{
    return rowFinder_->isChecked();
}

bool MainActions::maxWindow() const
{
    return maxWindow_->isChecked();
}

void MainActions::insertFileGroup(const QList<QAction*>& actions)
{
    fileMenu_->insertActions(quit_, actions);
    fileMenu_->insertSeparator(quit_);
}

// "Öffnen...": a directory holding REZ0*.DAT files, appended inactive when not listed yet.
// The recipes are not read again.
void MainActions::openDirectory()
{
    const std::optional<QString> chosen =
        BrowseDirectory(lastAddedDirectory_, kOpenCaption, kOpenMask, true, port_.portWidget());
    if (!chosen)
        return;
    const std::string dir = withTrailingSlash(fsPath(*chosen));
    if (!port_.portSearchPaths().add(dir, false))
        return;
    lastAddedDirectory_ = QFile::decodeName(QByteArray::fromStdString(dir));
    port_.markSearchPathsChanged();
}

void MainActions::openWebImport()
{
    port_.showWebImport();
}

// "Verzeichnisse", HemisphereButton2: the search-path dialog on a copy of the list. OK
// replaces the list and re-reads the recipes; in any case the web recipe directory is listed
// afterwards (inactive when it was missing).
void MainActions::editSearchPaths()
{
    SearchPathList& paths = port_.portSearchPaths();
    {
        TPfaddatendefinition dialog(port_.portWidget());
        std::vector<TPfaddatendefinition::Entry> copy;
        for (const SearchPath& p : paths.entries())
            copy.push_back({p.path, p.active});
        dialog.setEntries(copy);
        if (dialog.exec() == QDialog::Accepted) {
            std::vector<SearchPath> result;
            for (const TPfaddatendefinition::Entry& e : dialog.entries())
                result.push_back({e.path, e.active});
            paths.assign(result);
            port_.markSearchPathsChanged();
            port_.requestReload();
        }
    }
    const QString web = port_.portWebRecipeDirectory();
    if (!web.isEmpty() && paths.add(fsPath(web), false))
        port_.markSearchPathsChanged();
}

void MainActions::toggleRowFinder()
{
    // The action has already inverted its check mark.
    port_.rowFinderChanged();
}

// "Maximale Fenstergröße": written at once; clearing the mark takes effect at the next start.
// A store that cannot be written is reported at once: the mark would not survive the session.
void MainActions::toggleMaxWindow()
{
    const bool on = maxWindow_->isChecked();
    QWidget* window = port_.portWidget();
    SettingsStore store;
    if (!settings::writeMaxWindow(store, on))
        settings::reportNotSaved(
            window, settings::maxWindowNotSavedText(settings::storeWriteProblem(store)));
    if (on && !window->isMaximized())
        window->showMaximized();
}

// HemisphereButton5: the whole preview to the clipboard, formatted and as plain text.
void MainActions::copyWholePreview()
{
    QTextEdit* preview = port_.previewText();
    if (!preview)
        return;
    // The recipe preview copies its text as written, without the breaks of its layout.
    if (auto* recipe = qobject_cast<PreviewTextEdit*>(preview)) {
        QApplication::clipboard()->setMimeData(recipe->allTextMimeData());
        return;
    }
    auto* mime = new QMimeData;
    mime->setHtml(preview->document()->toHtml());
    mime->setText(preview->document()->toPlainText());
    QApplication::clipboard()->setMimeData(mime);
}

void MainActions::showAbout()
{
    QWidget* parent = port_.portWidget();
    auto* box = new QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint);
    box->setObjectName(QStringLiteral("InfoDlg1"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("Info"));
    auto* layout = new QVBoxLayout(box);
    auto* icon = new QLabel(box);
    icon->setPixmap(programIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    // The same maker as the start page's product text and links.
    const QString lines[] = {QStringLiteral("Vemo-Software"), QStringLiteral("Version 1.3"),
                             QStringLiteral("VEMO-KOVANTA Rezepturendisplay"),
                             QStringLiteral("© ") + makerName(), makerWebAddress(),
                             QStringLiteral("Freie Software unter der GNU General Public "
                                            "License, Version 3 oder neuer")};
    for (const QString& line : lines) {
        auto* label = new QLabel(line, box);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    QFont title = layout->itemAt(1)->widget()->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    layout->itemAt(1)->widget()->setFont(title);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    layout->addWidget(buttons);
    box->open();
}

} // namespace kovanta
