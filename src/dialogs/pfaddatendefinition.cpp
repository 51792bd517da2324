#include "pfaddatendefinition.h"

#include "durchsuchen.h"
#include "platform/qt/qtstrings.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovanta {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;
const QString kMissingDirectoryHint = QStringLiteral("Verzeichnis nicht gefunden");

void setHint(QWidget* w, const QString& hint)
{
    w->setToolTip(hint);
    w->setStatusTip(hint);
}

QListWidgetItem* makeLine(const std::string& path, bool active)
{
    const QString shown = displayPath(path);
    auto* item = new QListWidgetItem(shown);
    item->setData(kPathRole, QByteArray::fromStdString(path));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(active ? Qt::Checked : Qt::Unchecked);
    // A directory that has gone (a removed stick, a renamed share) stays in the list with its
    // mark, but the user sees that nothing will be found there.
    if (!QFileInfo(shown).isDir()) {
        item->setForeground(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
        item->setToolTip(kMissingDirectoryHint);
    }
    return item;
}

} // namespace

TPfaddatendefinition::TPfaddatendefinition(QWidget* parent)
    // A dialog border without border icons: OK, "Abbrechen" and Escape close it.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ListBox1(new QListWidget(this)),
      Button1(new QPushButton(QStringLiteral("Laufwerkspfad einfügen..."), this)),
      BitBtn3(new QPushButton(QStringLiteral("Entfernen"), this)),
      BitBtn2(new QPushButton(QStringLiteral("Abbrechen"), this)),
      BitBtn1(new QPushButton(QStringLiteral("OK"), this)), PopupMenu1(new QMenu(this))
{
    setObjectName(QStringLiteral("Pfaddatendefinition"));
    setWindowTitle(QStringLiteral("Suchpfade festlegen"));
    browse = [](QWidget* owner, const QString& initial) {
        return BrowseDirectory(initial, QString(), QString(), false, owner);
    };

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    setHint(ListBox1, QStringLiteral("Definieren Sie hier die Suchverzeichnisse und aktivieren "
                                     "Sie diese nach Bedarf"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Button1->setObjectName(QStringLiteral("Button1"));
    setHint(Button1, QStringLiteral("Laufwerkspfad suchen und in die Liste der Suchpfade "
                                    "aufnehmen"));
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    setHint(BitBtn3, QStringLiteral("Entfernen Sie eine Pfadangabe aus der Liste"));
    BitBtn3->setEnabled(false);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    setHint(BitBtn2, QStringLiteral("Suchpfade nicht abspeichern"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    setHint(BitBtn1, QStringLiteral("Suchpfade speichern"));
    BitBtn1->setDefault(true);

    connect(Button1, &QPushButton::clicked, this, &TPfaddatendefinition::addPath);
    connect(BitBtn3, &QPushButton::clicked, this, &TPfaddatendefinition::removeSelected);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBox1, &QListWidget::itemSelectionChanged, this,
            &TPfaddatendefinition::updateRemoveEnabled);

    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* insert = PopupMenu1->addAction(Button1->text());
    insert->setObjectName(QStringLiteral("InsertItem"));
    insert->setStatusTip(Button1->statusTip());
    connect(insert, &QAction::triggered, this, &TPfaddatendefinition::addPath);
    deleteAction_ = PopupMenu1->addAction(QStringLiteral("Löschen"));
    deleteAction_->setObjectName(QStringLiteral("DeleteItem"));
    deleteAction_->setStatusTip(BitBtn3->statusTip());
    deleteAction_->setShortcut(QKeySequence::Delete);
    deleteAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    deleteAction_->setEnabled(false);
    connect(deleteAction_, &QAction::triggered, this, &TPfaddatendefinition::removeSelected);
    addAction(deleteAction_); // the Delete key works without opening the menu
    ListBox1->installEventFilter(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto popup = [this](QWidget* source, const QPoint& pos) {
        updateRemoveEnabled();
        PopupMenu1->popup(source->mapToGlobal(pos));
    };
    connect(this, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& pos) { popup(this, pos); });
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& pos) { popup(ListBox1->viewport(), pos); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(BitBtn3);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);
    setFixedSize(489, 401);
}

void TPfaddatendefinition::setEntries(const std::vector<Entry>& entries)
{
    ListBox1->clear();
    for (const Entry& e : entries)
        ListBox1->addItem(makeLine(e.path, e.active));
    updateRemoveEnabled();
}

std::vector<TPfaddatendefinition::Entry> TPfaddatendefinition::entries() const
{
    std::vector<Entry> result;
    for (int i = 0; i < ListBox1->count(); ++i) {
        const QListWidgetItem* item = ListBox1->item(i);
        result.push_back(
            {item->data(kPathRole).toByteArray().toStdString(), item->checkState() == Qt::Checked});
    }
    return result;
}

void TPfaddatendefinition::addPath()
{
    if (!browse)
        return;
    const std::optional<QString> chosen = browse(this, lastBrowsed_);
    if (!chosen || chosen->isEmpty() || *chosen == QLatin1String("?"))
        return;
    lastBrowsed_ = withTrailingSlash(*chosen);

    const std::string path = fsPath(lastBrowsed_);
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (ListBox1->item(i)->data(kPathRole).toByteArray().toStdString() == path) {
            ListBox1->setCurrentRow(i);
            return;
        }
    }
    ListBox1->addItem(makeLine(path, false));
}

void TPfaddatendefinition::removeSelected()
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    delete selected.first();
    updateRemoveEnabled();
}

bool TPfaddatendefinition::eventFilter(QObject* watched, QEvent* event)
{
    // The shortcut only fires in the active window; a Delete key that reaches the list
    // without it (the window not active yet) does the same.
    if (watched == ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        removeSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPfaddatendefinition::updateRemoveEnabled()
{
    const bool any = !ListBox1->selectedItems().isEmpty();
    BitBtn3->setEnabled(any);
    deleteAction_->setEnabled(any);
}

} // namespace kovanta
