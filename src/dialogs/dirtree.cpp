#include "dirtree.h"

#include "platform/qt/qtstrings.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>
#include <stdexcept>

namespace kovanta {
namespace {

QFileIconProvider& icons()
{
    static QFileIconProvider provider;
    return provider;
}

bool isRealVolume(const QStorageInfo& s)
{
    if (!s.isValid() || !s.isReady() || s.isRoot())
        return false;
    const QString fs = QString::fromLatin1(s.fileSystemType());
    const QString device = QString::fromLatin1(s.device());
    const QString mount = s.rootPath();
    // Read-only system images (snaps, live media) and boot partitions are no place for
    // recipes; network shares are.
    if (s.isReadOnly() && fs == QLatin1String("squashfs"))
        return false;
    if (mount.startsWith(QLatin1String("/boot")) || mount.startsWith(QLatin1String("/snap/")))
        return false;
    static const QStringList network{QStringLiteral("nfs"), QStringLiteral("nfs4"),
                                     QStringLiteral("cifs"), QStringLiteral("smb3"),
                                     QStringLiteral("fuse.sshfs")};
    if (!device.startsWith(QLatin1String("/dev/")) && !network.contains(fs))
        return false;
    // Containers bind-mount single files (/etc/hosts): only directories are places.
    return QFileInfo(mount).isDir();
}

// RAII: hourglass and suspended painting while the tree walks the file system.
class BusyGuard {
public:
    explicit BusyGuard(QWidget* w) : w_(w), wasEnabled_(w->updatesEnabled())
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        w_->setUpdatesEnabled(false);
    }
    ~BusyGuard()
    {
        w_->setUpdatesEnabled(wasEnabled_);
        QApplication::restoreOverrideCursor();
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    QWidget* w_;
    bool wasEnabled_;
};

} // namespace

TDirTree::TDirTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // read-only: no renaming
    setUniformRowHeights(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this, &TDirTree::listChildren);
}

QList<TDirTree::Place> TDirTree::places()
{
    QList<Place> result;
    result.push_back({QStringLiteral("/"), QStringLiteral("Dateisystem")});
    const QString home = withTrailingSlash(QDir::homePath());
    if (home != QLatin1String("/"))
        result.push_back({home, QStringLiteral("Persönlicher Ordner")});
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (!isRealVolume(s))
            continue;
        const QString path = withTrailingSlash(s.rootPath());
        const bool known = std::any_of(result.begin(), result.end(),
                                       [&](const Place& p) { return p.path == path; });
        if (!known)
            result.push_back({path, s.name().isEmpty() ? s.rootPath() : s.name()});
    }
    return result;
}

QTreeWidgetItem* TDirTree::makeNode(const QString& path, const QString& name)
{
    auto* node = new QTreeWidgetItem(QStringList{name});
    node->setData(0, PathRole, path);
    node->setData(0, ReadRole, false);
    node->setIcon(0, icons().icon(QFileInfo(path)));
    // The children are listed at the first expansion; the arrow shows now only where there
    // will be some, found by looking one level down (nodes are made when their parent opens).
    node->setChildIndicatorPolicy(hasChildDirectory(path)
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicator);
    return node;
}

void TDirTree::Rebuild()
{
    clear();
    for (const Place& p : places())
        addTopLevelItem(makeNode(p.path, p.name));
}

bool TDirTree::isBelowRecycleBin(const QString& path)
{
    static const QRegularExpression trashUid(QStringLiteral("^\\.Trash-\\d+$"));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // The last part is the folder itself, which is listed even when it is a trash folder.
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString& p = parts[i];
        if (p.compare(QLatin1String("recycled"), Qt::CaseInsensitive) == 0 ||
            p.compare(QLatin1String("recycler"), Qt::CaseInsensitive) == 0 ||
            p == QLatin1String(".Trash") || trashUid.match(p).hasMatch())
            return true;
        if (p == QLatin1String("Trash") && i >= 2 && parts[i - 2] == QLatin1String(".local") &&
            parts[i - 1] == QLatin1String("share"))
            return true;
    }
    return false;
}

bool TDirTree::listsChild(const QString& dir, const QString& name) const
{
    const QString full = dir + name + QLatin1Char('/');
    if (!goBelowRecycleBin_ && isBelowRecycleBin(full))
        return false;
    if (!(dirTypes_ & dtAll)) {
        const bool hidden = name.startsWith(QLatin1Char('.'));
        if (hidden ? !(dirTypes_ & dtHidden) : !(dirTypes_ & dtNormal))
            return false;
    }
    bool add = true;
    if (OnAddDir)
        OnAddDir(const_cast<TDirTree*>(this), full, add);
    return add;
}

bool TDirTree::hasChildDirectory(const QString& path) const
{
    const QString dir = withTrailingSlash(path);
    // Stops at the first subdirectory that would be listed: one directory is read, and only
    // as far as needed, never the tree below it.
    QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isDir() && listsChild(dir, it.fileName()))
            return true;
    }
    return false;
}

QStringList TDirTree::childNames(const QString& path) const
{
    QStringList names;
    const QString dir = withTrailingSlash(path);
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries) {
        if (e.isDir() && listsChild(dir, e.fileName()))
            names.push_back(e.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

void TDirTree::listChildren(QTreeWidgetItem* node)
{
    if (!node || node->data(0, ReadRole).toBool())
        return;
    qDeleteAll(node->takeChildren());
    node->setData(0, ReadRole, true);
    const QString path = node->data(0, PathRole).toString();
    for (const QString& name : childNames(path))
        node->addChild(makeNode(path + name + QLatin1Char('/'), name));
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* TDirTree::findChild(QTreeWidgetItem* node, const QString& name)
{
    listChildren(node);
    QTreeWidgetItem* caseless = nullptr;
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        const QString childName = child->text(0);
        if (childName == name)
            return child;
        if (!caseless && childName.compare(name, Qt::CaseInsensitive) == 0)
            caseless = child;
    }
    return caseless;
}

void TDirTree::SelectPath(const QString& path)
{
    if (path.isEmpty())
        throw std::invalid_argument("Invalid Path Name");
    if (path == QLatin1String("?"))
        return;
    QString target = path;
    if (!target.startsWith(QLatin1Char('/')))
        target.prepend(QLatin1Char('/'));
    target = withTrailingSlash(QDir::cleanPath(target));

    // Start at the top-level place that holds the path most closely (the home folder for a
    // path in it rather than "/").
    QTreeWidgetItem* node = nullptr;
    qsizetype best = -1;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = topLevelItem(i);
        const QString p = top->data(0, PathRole).toString();
        if (target.startsWith(p) && p.size() > best) {
            best = p.size();
            node = top;
        }
    }
    if (!node)
        return;

    BusyGuard busy(this);
    const QStringList parts = target.mid(best).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        node = findChild(node, part);
        if (!node)
            return;
    }
    for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        p->setExpanded(true);
    setCurrentItem(node);
    scrollToItem(node);
}

QString TDirTree::SelectedPath() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return QStringLiteral("?");
    return selected.first()->data(0, PathRole).toString();
}

} // namespace kovanta
