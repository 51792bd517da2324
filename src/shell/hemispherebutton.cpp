#include "hemispherebutton.h"

#include "platform/gui/uifont.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace kovanta {

namespace {
constexpr QSize kRoundSize(32, 32);
constexpr QSize kCaptionSize(150, 35);
} // namespace

HemisphereButton::HemisphereButton(Shape shape, const QColor& face, QWidget* parent)
    : QAbstractButton(parent), shape_(shape), face_(face), scale_(applicationUiScale())
{
    setCursor(Qt::PointingHandCursor);
    // Mouse buttons: the keyboard reaches their actions through the menus and shortcuts. A
    // button holding the focus would turn a stray Space into "quit" after a tab change.
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(sizeHint());
    if (shape_ == Shape::Caption) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(scale_.px(16));
        f.setBold(true);
        setFont(f);
    }
}

void HemisphereButton::setFaceColor(const QColor& face)
{
    face_ = face;
    update();
}

QSize HemisphereButton::sizeHint() const
{
    const QSize designed = shape_ == Shape::Round ? kRoundSize : kCaptionSize;
    return {scale_.px(designed.width()), scale_.px(designed.height())};
}

QSize HemisphereButton::minimumSizeHint() const
{
    return sizeHint();
}

void HemisphereButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void HemisphereButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void HemisphereButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor face = isEnabled() ? face_ : QColor(150, 150, 150);
    if (isEnabled() && hovered_ && !isDown())
        face = face.lighter(112);
    if (shape_ == Shape::Round)
        paintRound(p, face);
    else
        paintCaption(p, face);
}

void HemisphereButton::paintRound(QPainter& p, const QColor& face)
{
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const bool pressed = isDown() || isChecked();
    // The light falls from the upper left; pressed, the highlight moves to the lower right so
    // that the dome looks pushed in.
    const QPointF light = pressed ? r.center() + QPointF(r.width() * 0.2, r.height() * 0.2)
                                  : r.center() - QPointF(r.width() * 0.22, r.height() * 0.22);
    QRadialGradient g(r.center(), r.width() * 0.6, light);
    g.setColorAt(0.0, face.lighter(185));
    g.setColorAt(0.45, face);
    g.setColorAt(1.0, face.darker(190));
    p.setPen(QPen(face.darker(250), 1.0));
    p.setBrush(g);
    p.drawEllipse(r);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1.0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(-1, -1, 1, 1));
    }
}

void HemisphereButton::paintCaption(QPainter& p, const QColor& face)
{
    const QRectF r = QRectF(rect()).adjusted(1.0, 1.0, -1.0, -1.0);
    const bool pressed = isDown() || isChecked();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, pressed ? face.darker(160) : face.lighter(170));
    g.setColorAt(0.5, pressed ? face.darker(120) : face);
    g.setColorAt(1.0, pressed ? face : face.darker(170));
    QPainterPath path;
    path.addRoundedRect(r, r.height() / 2.0, r.height() / 2.0);
    p.setPen(QPen(face.darker(230), 1.0));
    p.setBrush(g);
    p.drawPath(path);
    if (isChecked()) {
        // The chosen guide button carries a yellow ring so that it reads as "down" at a glance.
        p.setPen(QPen(QColor(Qt::yellow), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), r.height() / 2.0 - 1.5,
                          r.height() / 2.0 - 1.5);
    }

    p.setFont(font());
    const QRectF textRect = r.translated(pressed ? 1.0 : 0.0, pressed ? 1.0 : 0.0);
    // A dark shadow keeps the yellow text readable on light faces.
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(textRect.translated(1.0, 1.0), Qt::AlignCenter, text());
    p.setPen(isEnabled() ? QColor(Qt::yellow) : QColor(215, 215, 215));
    p.drawText(textRect, Qt::AlignCenter, text());
    if (hasFocus()) {
        p.setPen(QPen(Qt::white, 1.0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), r.height() / 2.0 - 3, r.height() / 2.0 - 3);
    }
}

} // namespace kovanta
