#include "durchsuchen.h"

#include "dirtree.h"
#include "platform/filesearch.h"
#include "platform/qt/qtstrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovanta {
namespace {

// The private message the browser posts to itself so the tree is read after it appeared.
const QEvent::Type kFillTreeMessage = QEvent::Type(QEvent::registerEventType());

std::optional<QString> inputName(QWidget* parent, const QString& title)
{
    bool ok = false;
    const QString name = QInputDialog::getText(parent, title, QStringLiteral("Unterverzeichnis:"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return name;
}

void setHint(QWidget* w, const QString& hint)
{
    w->setToolTip(hint);
    w->setStatusTip(hint);
}

} // namespace

TDurchSuchen::TDurchSuchen(QWidget* parent, bool withCreateMenu)
    // A dialog border: a title and a close box, nothing to minimise or maximise.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      DirTree1(new TDirTree(this)),
      Label1(new QLabel(QStringLiteral("Verzeichnisstruktur lesen..."), this)),
      BitBtn1(new QPushButton(QStringLiteral("OK"), this)),
      BitBtn2(new QPushButton(QStringLiteral("Abbruch"), this))
{
    setObjectName(QStringLiteral("DurchSuchen"));
    setWindowTitle(QStringLiteral("Pfadangabe einstellen"));
    askName = inputName;

    DirTree1->setObjectName(QStringLiteral("DirTree1"));
    DirTree1->setDirTypes(TDirTree::DirTypes(TDirTree::dtNormal) | TDirTree::dtAll);
    DirTree1->setGoBelowRecycleBin(false);
    Label1->setObjectName(QStringLiteral("Label1"));
    // A long path must not widen the fixed-size dialog.
    Label1->setMinimumWidth(1);
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    setHint(BitBtn1, QStringLiteral("Eingaben übernehmen und Fenster schließen"));
    setHint(BitBtn2, QStringLiteral("Eingaben verwerfen und Fenster schließen"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 8, 9, 8);
    layout->addWidget(DirTree1, 1);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    setFixedSize(379, 331);

    if (withCreateMenu) {
        PopupMenu1 = new QMenu(this);
        PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
        QAction* create = PopupMenu1->addAction(QStringLiteral("Verzeichnis erstellen..."));
        create->setObjectName(QStringLiteral("CreateDirItem"));
        create->setStatusTip(QStringLiteral("Verzeichnis im aktuellen Baum erstellen"));
        create->setToolTip(create->statusTip());
        connect(create, &QAction::triggered, this, &TDurchSuchen::createDirectory);
        DirTree1->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(DirTree1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
            PopupMenu1->popup(DirTree1->viewport()->mapToGlobal(pos));
        });
    }
    connect(DirTree1, &QTreeWidget::itemSelectionChanged, this, &TDurchSuchen::selectionChanged);
}

QString TDurchSuchen::selectedPath() const
{
    return DirTree1->SelectedPath();
}

void TDurchSuchen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (filled_)
        return;
    BitBtn1->setEnabled(fileMask_.isEmpty());
    QCoreApplication::postEvent(this, new QEvent(kFillTreeMessage));
}

bool TDurchSuchen::event(QEvent* event)
{
    if (event->type() == kFillTreeMessage) {
        fillTree();
        return true;
    }
    return QDialog::event(event);
}

void TDurchSuchen::fillTree()
{
    if (filled_)
        return;
    filled_ = true;
    if (initialPath_.isEmpty())
        initialPath_ = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    DirTree1->Rebuild();
    DirTree1->setInitialDirectory(initialPath_);
    DirTree1->SelectPath(initialPath_);
    if (DirTree1->SelectedPath() == QLatin1String("?"))
        Label1->clear();
}

void TDurchSuchen::selectionChanged()
{
    const QString path = DirTree1->SelectedPath();
    const bool none = path == QLatin1String("?");
    Label1->setText(none ? QString() : path);
    if (!fileMask_.isEmpty()) {
        BitBtn1->setEnabled(!none && containsMatch(fsPath(path), fsPath(fileMask_)));
    }
}

void TDurchSuchen::createDirectory()
{
    const QString parentPath = DirTree1->SelectedPath();
    if (parentPath == QLatin1String("?") || !askName)
        return;
    const std::optional<QString> name = askName(this, parentPath);
    if (!name || name->isEmpty() || name->contains(QLatin1Char('/')) ||
        *name == QLatin1String(".") || *name == QLatin1String(".."))
        return;
    const QString created = parentPath + *name + QLatin1Char('/');
    if (!QDir().mkdir(parentPath + *name))
        return;
    DirTree1->Rebuild();
    DirTree1->SelectPath(created);
}

std::optional<QString> BrowseDirectory(const QString& initialPath, const QString& caption,
                                       const QString& fileMask, bool withCreateMenu,
                                       QWidget* parent)
{
    TDurchSuchen dialog(parent, withCreateMenu);
    if (!caption.isEmpty())
        dialog.setWindowTitle(caption);
    dialog.setInitialPath(initialPath);
    dialog.setFileMask(fileMask);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString path = dialog.selectedPath();
    if (path == QLatin1String("?"))
        return std::nullopt;
    return path;
}

} // namespace kovanta
