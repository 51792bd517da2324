#include "internetrezeptimport.h"

#include "importwidgets.h"
#include "platform/privatedir.h"
#include "platform/qt/ansiqstring.h"
#include "platform/qt/qtstrings.h"
#include "qtfetchrunner.h"
#include "webimport/qt/linkdrop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace kovanta {

// The window as ImportCore sees it.
class TInternetRezeptImport::View : public ImportView {
public:
    explicit View(TInternetRezeptImport& w) : w_(w) {}

    void lineAdded(std::size_t index) override
    {
        auto* item = new QListWidgetItem(ansiToQString(w_.core_.line(index).Title));
        w_.listBox_->insertItem(static_cast<int>(index), item);
    }
    void lineRemoved(std::size_t index) override
    {
        delete w_.listBox_->takeItem(static_cast<int>(index));
    }
    void lineChanged(std::size_t index) override
    {
        w_.listBox_->item(static_cast<int>(index))
            ->setText(ansiToQString(w_.core_.line(index).Title));
    }
    void setListShown(bool shown) override
    {
        w_.hintPanel_->setVisible(!shown);
        w_.listBox_->setVisible(shown);
    }
    void selectAllLines() override { w_.listBox_->selectAll(); }
    // Texts from servers, pages and links: control characters in them are shown as escapes.
    void setStatusText(const std::string& text) override
    {
        const QString shown = visibleControls(ansiToQString(text));
        w_.statusBar_->showMessage(shown);
        // The window is narrow: the whole text, links included, is in the tip.
        w_.statusBar_->setToolTip(shown);
    }
    void showMessage(const std::string& text) override
    {
        // A window closed by its owner (the program ends) has nobody to read it.
        if (w_.stopped_)
            return;
        // Line breaks in message boxes are "\n" here (the copy failure writes a CR).
        QString shown = ansiToQString(text);
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        w_.showMessageBox(visibleControls(shown, true));
    }
    bool askYesNo(const std::string& text, const std::string& title) override
    {
        return !w_.stopped_ && w_.askQuestion(ansiToQString(text), ansiToQString(title));
    }
    void postImportFile() override
    {
        QCoreApplication::postEvent(&w_, new QEvent(MSG_IMPORT_FILE));
    }
    bool hasNotifyWindow() const override { return static_cast<bool>(w_.notify_); }
    void notify(int kind, bool waitHandled) override
    {
        if (w_.notify_)
            w_.notify_(kind, waitHandled);
    }
    // Painted at once, without handling any event: a plan of local links is worked off in one
    // go, and its status line should still count the links.
    void repaint() override { w_.repaint(); }

private:
    TInternetRezeptImport& w_;
};

TInternetRezeptImport::TInternetRezeptImport(QWidget* owner, const QString& defaultImportDir)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      view_(std::make_unique<View>(*this)), runner_(new QtFetchRunner(this)),
      core_(*view_, *runner_)
{
    setObjectName(QStringLiteral("InternetRezeptImport"));
    setWindowTitle(QStringLiteral("Internet "));
    buildControls();
    connect(runner_, &QtFetchRunner::runningChanged, this,
            &TInternetRezeptImport::fetchRunningChanged);
    // While a fetch runs, the window's own controls take no input (eventFilter); the status bar
    // with "Abbrechen" does, and so do drops, which wait their turn.
    for (QWidget* w : findChildren<QWidget*>())
        if (w != statusBar_ && !statusBar_->isAncestorOf(w))
            w->installEventFilter(this);

    // Creation: panels without bevels, the list hidden, placed at 10, 15, 200 x 200.
    view_->setListShown(false);
    move(10, 15);
    resize(200, 200);

    new LinkDropArea(*this, [this](const DroppedLink& link) { acceptDrop(link); });

    const QString dir =
        withTrailingSlash(defaultImportDir.isEmpty() ? QDir::tempPath() + QStringLiteral("/kovanta/")
                                             : defaultImportDir);
    core_.ImportDir = fsPath(dir);
    // The default lies in the shared temporary directory: a directory of that name that another
    // user made (or a link planted there) is neither read nor cleaned.
    if (QFileInfo(dir).isDir()) {
        if (platform::isOwnPrivateDirectory(core_.ImportDir))
            core_.LoadImportDirectory(core_.ImportDir);
    } else {
        platform::makeOwnPrivateDirectory(core_.ImportDir);
    }
}

TInternetRezeptImport::~TInternetRezeptImport()
{
    // Gone during a fetch: its busy cursor goes too (the fetch ends with the runner).
    if (runner_->running())
        QApplication::restoreOverrideCursor();
    runner_->disconnect(this);
}

void TInternetRezeptImport::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Panel2: the link labels and the picture; carries the pop-up menu.
    auto* panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedHeight(44);
    auto* top = new QHBoxLayout(panel2);
    top->setContentsMargins(4, 1, 1, 1);
    auto* links = new QVBoxLayout;
    links->setSpacing(2);
    auto* accept = new ImportLinkLabel(QStringLiteral("Übernehmen"), panel2);
    accept->setObjectName(QStringLiteral("mUrlLabel1"));
    accept->setToolTip(QStringLiteral("Rezepte aus der Zwischenablage übernehmen"));
    connect(accept, &ImportLinkLabel::clicked, this, &TInternetRezeptImport::acceptSelected);
    acceptLabel_ = accept;
    auto* close = new ImportLinkLabel(QStringLiteral("Schließen"), panel2);
    close->setObjectName(QStringLiteral("mUrlLabel2"));
    close->setToolTip(QStringLiteral("Internet Drop Fenster schließen"));
    connect(close, &ImportLinkLabel::clicked, this, &TInternetRezeptImport::requestClose);
    links->addStretch();
    links->addWidget(accept);
    links->addWidget(close);
    links->addStretch();
    top->addLayout(links);
    top->addStretch();
    auto* image = new ImportLinkLabel(QString(), panel2);
    image->setObjectName(QStringLiteral("Image2"));
    image->setPixmap(dropPicture());
    image->setFixedSize(40, 42);
    image->setToolTip(QStringLiteral("Legen Sie den Link zum importieren in dieses Fenster"));
    connect(image, &ImportLinkLabel::clicked, this, &TInternetRezeptImport::openOnlineRecipes);
    top->addWidget(image);
    layout->addWidget(panel2);

    // Panel1: shown while the list is empty.
    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setAutoFillBackground(true);
    auto* hintLayout = new QVBoxLayout(panel1);
    auto* label1 = new QLabel(QStringLiteral("Hier finden Sie ONLINE Rezepte..."), panel1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    auto* online = new ImportLinkLabel(QStringLiteral("vemosoft.example/rezepte"), panel1);
    online->setObjectName(QStringLiteral("mUrlLabel3"));
    online->setWordWrap(true);
    online->setToolTip(QString::fromLatin1(kOnlineRecipeUrl));
    connect(online, &ImportLinkLabel::clicked, this, &TInternetRezeptImport::openOnlineRecipes);
    hintLayout->addStretch();
    hintLayout->addWidget(label1);
    hintLayout->addWidget(online);
    hintLayout->addStretch();
    panel1->installEventFilter(this);
    hintPanel_ = panel1;
    layout->addWidget(panel1, 1);

    // ListBox1: the import list.
    listBox_ = new QListWidget(this);
    listBox_->setObjectName(QStringLiteral("ListBox1"));
    listBox_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listBox_->setUniformItemSizes(true);
    listBox_->setStyleSheet(
        QStringLiteral("QListWidget::item { min-height: %1px; }").arg(std::max(13, fontMetrics().height())));
    layout->addWidget(listBox_, 1);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);
    cancelButton_ = new QPushButton(QStringLiteral("Abbrechen"), statusBar_);
    cancelButton_->setObjectName(QStringLiteral("AbbrechenButton"));
    cancelButton_->setToolTip(QStringLiteral("Abruf abbrechen (Esc)"));
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, &TInternetRezeptImport::cancelFetch);
    statusBar_->addPermanentWidget(cancelButton_);
    layout->addWidget(statusBar_);

    // PopupMenu1, on Panel2 and ListBox1.
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    popupMenu_->setToolTipsVisible(true);
    auto add = [this](const char* name, const QString& caption, const QString& hint,
                      void (TInternetRezeptImport::*slot)()) {
        QAction* a = popupMenu_->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint.isEmpty() ? caption : hint);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* acceptAction = add("Uebernehmen1", QStringLiteral("Übernehmen"),
                                QStringLiteral("Ausgewählte Rezepte zum Import übernehmen"),
                                &TInternetRezeptImport::acceptSelected);
    acceptAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return),
                                QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    acceptAction->setShortcutContext(Qt::WindowShortcut);
    addAction(acceptAction); // also while the menu is closed
    popupMenu_->addSeparator();
    QAction* selectAll = add("Allesauswaehlen1", QStringLiteral("Alles auswählen"),
                             QStringLiteral("Alle Zeilen auswählen"),
                             &TInternetRezeptImport::selectAllLines);
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    selectAll->setShortcutContext(Qt::WindowShortcut);
    addAction(selectAll); // Ctrl+A also while the menu is closed
    popupMenu_->addSeparator();
    add("Loeschen1", QStringLiteral("Löschen"),
        QStringLiteral("Importierte Rezepte aus der Zwischenablage löschen"),
        &TInternetRezeptImport::deleteSelected);
    add("Allesloeschen1", QStringLiteral("Alles löschen..."),
        QStringLiteral("Alle importierten Rezepte aus der Zwischenablage löschen"),
        &TInternetRezeptImport::deleteAll);
    popupMenu_->addSeparator();
    add("Schliessen1", QStringLiteral("Schließen"), QString(),
        &TInternetRezeptImport::requestClose);

    for (QWidget* w : {panel2, static_cast<QWidget*>(listBox_)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { showContextMenu(w, at); });
    }
}

void TInternetRezeptImport::acceptDrop(const DroppedLink& link)
{
    // Handled once the drop event has returned, so the drag source is answered first and the
    // import does not run inside the desktop's drag and drop.
    QMetaObject::invokeMethod(
        this,
        [this, link] {
            // The browser the link came from keeps the keyboard otherwise, and Esc would not
            // reach the fetch.
            raise();
            activateWindow();
            core_.drop(link.url, link.title);
        },
        Qt::QueuedConnection);
}

void TInternetRezeptImport::fetchRunningChanged(bool running)
{
    cancelButton_->setVisible(running);
    for (QAction* action : popupMenu_->actions())
        action->setEnabled(!running);
    if (running)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool TInternetRezeptImport::swallowedWhileFetching(QEvent* event)
{
    using E = QEvent;
    static constexpr E::Type kInput[] = {E::KeyPress,         E::KeyRelease,
                                         E::MouseButtonPress, E::MouseButtonRelease,
                                         E::MouseButtonDblClick, E::Wheel,
                                         E::ContextMenu,      E::TouchBegin,
                                         E::TouchUpdate,      E::TouchEnd,
                                         E::TabletPress,      E::TabletRelease};
    if (event->type() == E::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        cancelFetch();
    return std::find(std::begin(kInput), std::end(kInput), event->type()) != std::end(kInput);
}

void TInternetRezeptImport::showContextMenu(QWidget* from, const QPoint& at)
{
    popupMenu_->popup(from->mapToGlobal(at));
}

QString TInternetRezeptImport::importDir() const
{
    return displayPath(core_.ImportDir);
}

void TInternetRezeptImport::setImportDir(const QString& dir)
{
    core_.ImportDir = fsPath(withTrailingSlash(dir));
}

void TInternetRezeptImport::setNotifyWindow(NotifyWindow notify)
{
    notify_ = std::move(notify);
}

void TInternetRezeptImport::setAcceptLinkVisible(bool visible)
{
    acceptLabel_->setVisible(visible);
}

QString TInternetRezeptImport::statusText() const
{
    return statusBar_->currentMessage();
}

std::vector<std::size_t> TInternetRezeptImport::selectedRows() const
{
    std::vector<std::size_t> rows;
    for (int row = 0; row < listBox_->count(); ++row)
        if (listBox_->item(row)->isSelected())
            rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

void TInternetRezeptImport::acceptSelected()
{
    core_.accept(selectedRows());
}

void TInternetRezeptImport::selectAllLines()
{
    listBox_->selectAll();
}

void TInternetRezeptImport::deleteSelected()
{
    core_.deleteSelected(selectedRows());
}

void TInternetRezeptImport::deleteAll()
{
    core_.deleteAll();
}

void TInternetRezeptImport::requestClose()
{
    if (notify_)
        notify_(kNotifyClose, false);
}

void TInternetRezeptImport::openOnlineRecipes()
{
    openUrl(QUrl(QString::fromLatin1(kOnlineRecipeUrl)));
}

void TInternetRezeptImport::cancelFetch()
{
    runner_->cancel();
}

void TInternetRezeptImport::showMessageBox(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), text, QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    // A short text made a box so narrow that the desktop cut its title to "I...".
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(box.fontMetrics().averageCharWidth() * 45, 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

bool TInternetRezeptImport::askQuestion(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

void TInternetRezeptImport::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

bool TInternetRezeptImport::event(QEvent* event)
{
    if (event->type() == MSG_IMPORT_FILE) {
        core_.processImportFile();
        return true;
    }
    return QWidget::event(event);
}

bool TInternetRezeptImport::eventFilter(QObject* watched, QEvent* event)
{
    if (runner_->running() && swallowedWhileFetching(event))
        return true;
    if (watched == hintPanel_ && event->type() == QEvent::MouseButtonDblClick) {
        requestClose();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TInternetRezeptImport::keyPressEvent(QKeyEvent* event)
{
    // A key no control of the window took: Esc still ends a fetch.
    if (runner_->running() && swallowedWhileFetching(event))
        return;
    QWidget::keyPressEvent(event);
}

void TInternetRezeptImport::showEvent(QShowEvent* event)
{
    stopped_ = false;
    QWidget::showEvent(event);
    statusBar_->showMessage(QString::fromLatin1(kStatusIdle));
}

void TInternetRezeptImport::closeEvent(QCloseEvent* event)
{
    // Closed from the desktop: waits while a fetch runs, else asked for like "Schließen", so
    // the main window comes back. The owner's own close (when it ends) goes through.
    if (event->spontaneous() && runner_->running()) {
        event->ignore();
        return;
    }
    if (event->spontaneous() && notify_) {
        event->ignore();
        requestClose();
        return;
    }
    // Closed by the program (it ends, the session ends): what the import still does is ended
    // too, without a message.
    stopped_ = true;
    core_.cancelImports();
    cancelFetch();
    QWidget::closeEvent(event);
}

} // namespace kovanta
