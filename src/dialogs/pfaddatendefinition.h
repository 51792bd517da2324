#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

namespace kovanta {

// "Suchpfade festlegen": edits a copy of the search path list. One checkable line per
// directory (check mark = searched); "Laufwerkspfad einfügen..." browses for a directory and
// appends it unchecked, or selects its line when it is listed already; "Entfernen" (and
// "Löschen"/Delete in the context menu) removes the selected line. OK writes the check marks
// back; cancel discards every change. A directory that does not exist is shown in gray with
// the tooltip "Verzeichnis nicht gefunden".
class TPfaddatendefinition : public QDialog {
    Q_OBJECT
public:
    // One line: the directory as the file system spells it (bytes), ending in "/".
    struct Entry {
        std::string path;
        bool active = false;
        bool operator==(const Entry&) const = default;
    };

    explicit TPfaddatendefinition(QWidget* parent = nullptr);

    // Fills the list; the check marks follow the flags.
    void setEntries(const std::vector<Entry>& entries);
    // The lines with their check marks as they are now (after OK: the result).
    std::vector<Entry> entries() const;

    // How a directory is browsed: the starting directory in, the chosen directory ("/"-
    // terminated) out, nothing when cancelled or no directory was chosen. Tests replace it;
    // the default is the directory browser without its context menu.
    std::function<std::optional<QString>(QWidget* parent, const QString& initial)> browse;

    // "Laufwerkspfad einfügen...".
    void addPath();
    // "Entfernen" / "Löschen": the selected line, if any.
    void removeSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateRemoveEnabled();

    QListWidget* ListBox1;
    QPushButton* Button1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    QMenu* PopupMenu1;
    QAction* deleteAction_;
    // The directory the last browse returned; the next browse starts there.
    QString lastBrowsed_;
};

} // namespace kovanta
