#include "importwidgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kovanta {

ImportLinkLabel::ImportLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    QFont f = font();
    f.setBold(true);
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void ImportLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ImportLinkLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

QPixmap dropPicture()
{
    QPixmap pixmap(40, 42);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The tray.
    p.setPen(QPen(QColor(40, 60, 120), 2));
    p.setBrush(QColor(200, 215, 240));
    QPainterPath tray;
    tray.moveTo(4, 26);
    tray.lineTo(12, 26);
    tray.lineTo(15, 31);
    tray.lineTo(25, 31);
    tray.lineTo(28, 26);
    tray.lineTo(36, 26);
    tray.lineTo(36, 39);
    tray.lineTo(4, 39);
    tray.closeSubpath();
    p.drawPath(tray);
    // The arrow bringing the link in.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 220));
    QPainterPath arrow;
    arrow.moveTo(16, 2);
    arrow.lineTo(24, 2);
    arrow.lineTo(24, 15);
    arrow.lineTo(30, 15);
    arrow.lineTo(20, 27);
    arrow.lineTo(10, 15);
    arrow.lineTo(16, 15);
    arrow.closeSubpath();
    p.drawPath(arrow);
    return pixmap;
}

} // namespace kovanta
