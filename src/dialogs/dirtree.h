#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <functional>

namespace kovanta {

// A tree of directories, listed lazily: the top level holds the places a Linux desktop offers
// (the file system root "Dateisystem", the home folder "Persönlicher Ordner" and each real,
// ready, mounted volume), and a folder's children are listed when it is expanded the first
// time. Every node keeps its full path ending in "/" as the file system spells it.
//
// Paths are QStrings in the file-name encoding Qt uses (QFile::encodeName gives the bytes).
class TDirTree : public QTreeWidget {
    Q_OBJECT
public:
    // Which directories are listed: with dtAll every one; otherwise a hidden directory (name
    // beginning with ".") needs dtHidden and the others need dtNormal. dtSystem and dtArchive
    // have no Linux counterpart: no directory carries those attributes.
    enum DirType { dtNormal = 0x1, dtHidden = 0x2, dtSystem = 0x4, dtArchive = 0x8, dtAll = 0x10 };
    Q_DECLARE_FLAGS(DirTypes, DirType)

    // Node data roles: the full path, and whether the children were listed.
    static constexpr int PathRole = Qt::UserRole + 1;
    static constexpr int ReadRole = Qt::UserRole + 2;

    explicit TDirTree(QWidget* parent = nullptr);

    DirTypes dirTypes() const { return dirTypes_; }
    void setDirTypes(DirTypes types) { dirTypes_ = types; }
    // Off by default: nothing below a recycle bin or trash folder is listed (the folder itself
    // is).
    bool goBelowRecycleBin() const { return goBelowRecycleBin_; }
    void setGoBelowRecycleBin(bool on) { goBelowRecycleBin_ = on; }
    QString initialDirectory() const { return initialDirectory_; }
    void setInitialDirectory(const QString& dir) { initialDirectory_ = dir; }

    // Asked for every directory about to be listed (full path with "/"); setting doAdd false
    // leaves it out.
    std::function<void(TDirTree* sender, const QString& path, bool& doAdd)> OnAddDir;

    // Clears the tree and lists the top-level places again.
    void Rebuild();

    // Expands the tree down to path and selects its node. Each name is looked up exactly
    // first, then ignoring case. A path that does not exist (any part missing) leaves the
    // selection as it was. "?" does nothing; a relative path counts from "/". Throws
    // std::invalid_argument("Invalid Path Name") for an empty path.
    void SelectPath(const QString& path);

    // The selected node's path, or "?" when nothing is selected.
    QString SelectedPath() const;

    // The subdirectory names of path that this tree would list, sorted (case ignored first,
    // then exact).
    QStringList childNames(const QString& path) const;
    // Whether path holds at least one subdirectory that this tree would list. Reads path only
    // until the first one is found. A node shows its expand arrow exactly when this holds.
    bool hasChildDirectory(const QString& path) const;

    // True when path (ending in "/") lies below a recycle bin or trash folder: a folder named
    // "recycled" or "recycler" (any case), ".Trash", ".Trash-<uid>", or "Trash" in
    // ".local/share". The trash folder itself is not below one.
    static bool isBelowRecycleBin(const QString& path);

    // The top-level places: {path with "/", display name}.
    struct Place {
        QString path;
        QString name;
    };
    static QList<Place> places();

private:
    // Whether the directory name in dir (ending in "/") passes the filters and OnAddDir.
    bool listsChild(const QString& dir, const QString& name) const;
    void listChildren(QTreeWidgetItem* node);
    QTreeWidgetItem* makeNode(const QString& path, const QString& name);
    QTreeWidgetItem* findChild(QTreeWidgetItem* node, const QString& name);

    DirTypes dirTypes_ = DirTypes(dtNormal) | dtAll;
    bool goBelowRecycleBin_ = false;
    QString initialDirectory_ = QStringLiteral("/");
};

} // namespace kovanta

Q_DECLARE_OPERATORS_FOR_FLAGS(kovanta::TDirTree::DirTypes)
