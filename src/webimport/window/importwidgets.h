#pragma once

#include <QLabel>
#include <QPixmap>

// Small widgets of the import window.
namespace kovanta {

// A link label: bold, underlined, blue, with a hand cursor; clicked() on a left-button release
// inside the label and on Return/Space while it has the focus.
class ImportLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit ImportLinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The drop picture: a link being dropped into a tray, 40 x 42 pixels.
QPixmap dropPicture();

} // namespace kovanta
