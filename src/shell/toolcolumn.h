#pragma once

#include <QFrame>

namespace kovanta {

class HemisphereButton;

// The tool column Panel2 at the right edge of the tab area, 36 designed pixels wide (scaled
// with the application font), with the round
// buttons from top to bottom:
//   HemisphereButton1 red        "Programmendende"                       quitRequested
//   HemisphereButton2 green      "Verzeichnisse hinzufügen"              searchPathsRequested
//   HemisphereButton3 yellow     "Rezepte neu einlesen"                  reloadRequested
//   HemisphereButton4 silver     "Drucken"                               printRequested
//   HemisphereButton6 light blue "Rezepte aus dem Internet importieren"  webImportRequested
//   HemisphereButton5 gray       "Rezept in die Zwischenablage kopieren" copyRequested
// A double-click on the column itself also asks for a re-read.
class ToolColumn : public QFrame {
    Q_OBJECT
public:
    explicit ToolColumn(QWidget* parent = nullptr);

    // The button HemisphereButton<number> (1-6), or nullptr for another number.
    HemisphereButton* button(int number) const;

    void setPrintEnabled(bool enabled);
    void setCopyVisible(bool visible);

signals:
    void quitRequested();
    void searchPathsRequested();
    void reloadRequested();
    void printRequested();
    void webImportRequested();
    void copyRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    HemisphereButton* buttons_[6] = {};
};

} // namespace kovanta
