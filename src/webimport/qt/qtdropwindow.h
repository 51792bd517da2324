#pragma once

#include "webimport/droptarget.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QDropEvent;

// A Qt widget as the window of a TDropTarget: watches the widget's drag events, hands them to
// the target with the dragged QMimeData mapped by MapMimeData, and answers with the target's
// effect. Usage:
//     auto* window = new QtDropWindow(widget);  // a child of the widget
//     DropURLTarget1.Register(*window);
// The target must be unregistered (or destroyed) before this object is.
namespace kovanta {

class QtDropWindow : public QObject, public IDropWindow {
    Q_OBJECT
public:
    explicit QtDropWindow(QWidget* widget);
    ~QtDropWindow() override;

    QWidget* widget() const { return widget_; }
    bool scrollTimerActive() const { return timer_.isActive(); }

    std::string Name() const override;
    bool Exists() const override { return !widget_.isNull(); }
    bool AcceptDrops(TDropTarget& target) override;
    bool RevokeDrops() override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    int FontHeight() const override;
    bool HasHorzScrollBar() const override;
    bool HasVertScrollBar() const override;
    void ScrollLine(int dx, int dy) override;
    void StartScrollTimer(int intervalMs) override;
    void StopScrollTimer() override;

    // Qt's keyboard modifiers and drop actions in the target's terms.
    static TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);
    static std::uint32_t EffectsOf(Qt::DropActions actions);
    // The single action to show for an effect (copy before move before link).
    static Qt::DropAction ActionOf(std::uint32_t effect);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer(QDropEvent* event, std::uint32_t effect);

    QPointer<QWidget> widget_;
    TDropTarget* target_ = nullptr;
    bool hadAcceptDrops_ = false;
    QTimer timer_;
};

} // namespace kovanta
