#pragma once

#include <QAbstractButton>
#include <QColor>

#include "platform/uiscale.h"

namespace kovanta {

// The program's round, shaded buttons. Two shapes, with their sizes designed for the old
// system font and scaled by the application font's UiScale:
//  - Round: a 32 x 32 circle shaded like a hemisphere in its face colour (the tool column);
//    the caption is not drawn, the hint tells what the button does.
//  - Caption: a 150 x 35 rounded bar in the face colour with its caption in yellow bold Arial,
//    16 pixels high (the start page). A checked caption button is drawn pressed in.
// A disabled button is drawn in gray whatever its face colour. The hand cursor marks it as
// clickable. The buttons never take the keyboard focus.
class HemisphereButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Shape { Round, Caption };

    explicit HemisphereButton(Shape shape, const QColor& face, QWidget* parent = nullptr);

    QColor faceColor() const { return face_; }
    void setFaceColor(const QColor& face);
    Shape shape() const { return shape_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintRound(QPainter& p, const QColor& face);
    void paintCaption(QPainter& p, const QColor& face);

    Shape shape_;
    QColor face_;
    UiScale scale_;
    bool hovered_ = false;
};

} // namespace kovanta
