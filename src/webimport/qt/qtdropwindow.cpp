#include "qtdropwindow.h"

#include "mimedrop.h"

#include <QAbstractScrollArea>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QScrollBar>

namespace kovanta {
namespace {

QAbstractScrollArea* scrollAreaOf(QWidget* w)
{
    return qobject_cast<QAbstractScrollArea*>(w);
}

TPoint pointOf(const QDropEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

} // namespace

QtDropWindow::QtDropWindow(QWidget* widget) : QObject(widget), widget_(widget)
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (target_)
            target_->ScrollTimerTick();
    });
}

QtDropWindow::~QtDropWindow()
{
    if (target_ && widget_)
        widget_->removeEventFilter(this);
}

std::string QtDropWindow::Name() const
{
    return widget_ ? widget_->objectName().toStdString() : std::string();
}

bool QtDropWindow::AcceptDrops(TDropTarget& target)
{
    if (!widget_ || target_)
        return false;
    target_ = &target;
    hadAcceptDrops_ = widget_->acceptDrops();
    widget_->setAcceptDrops(true);
    widget_->installEventFilter(this);
    return true;
}

bool QtDropWindow::RevokeDrops()
{
    if (!target_)
        return false;
    timer_.stop();
    if (widget_) {
        widget_->removeEventFilter(this);
        widget_->setAcceptDrops(hadAcceptDrops_);
    }
    target_ = nullptr;
    return true;
}

int QtDropWindow::ClientWidth() const
{
    return widget_ ? widget_->width() : 0;
}

int QtDropWindow::ClientHeight() const
{
    return widget_ ? widget_->height() : 0;
}

int QtDropWindow::FontHeight() const
{
    return widget_ ? QFontMetrics(widget_->font()).height() : 0;
}

bool QtDropWindow::HasHorzScrollBar() const
{
    QAbstractScrollArea* area = scrollAreaOf(widget_);
    return area && area->horizontalScrollBar()->isVisible();
}

bool QtDropWindow::HasVertScrollBar() const
{
    QAbstractScrollArea* area = scrollAreaOf(widget_);
    return area && area->verticalScrollBar()->isVisible();
}

void QtDropWindow::ScrollLine(int dx, int dy)
{
    QAbstractScrollArea* area = scrollAreaOf(widget_);
    if (!area)
        return;
    if (dx != 0)
        area->horizontalScrollBar()->triggerAction(dx < 0 ? QAbstractSlider::SliderSingleStepSub
                                                          : QAbstractSlider::SliderSingleStepAdd);
    if (dy != 0)
        area->verticalScrollBar()->triggerAction(dy < 0 ? QAbstractSlider::SliderSingleStepSub
                                                        : QAbstractSlider::SliderSingleStepAdd);
}

void QtDropWindow::StartScrollTimer(int intervalMs)
{
    timer_.start(intervalMs);
}

void QtDropWindow::StopScrollTimer()
{
    timer_.stop();
}

TShiftState QtDropWindow::ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    return s;
}

std::uint32_t QtDropWindow::EffectsOf(Qt::DropActions actions)
{
    std::uint32_t e = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction)
        e |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction)
        e |= DROPEFFECT_MOVE;
    if (actions & Qt::LinkAction)
        e |= DROPEFFECT_LINK;
    return e;
}

Qt::DropAction QtDropWindow::ActionOf(std::uint32_t effect)
{
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

void QtDropWindow::answer(QDropEvent* event, std::uint32_t effect)
{
    const Qt::DropAction action = ActionOf(effect);
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

bool QtDropWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_ || !target_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(event);
        std::shared_ptr<const IDropDataObject> data;
        if (e->mimeData())
            data = MapMimeData(*e->mimeData());
        answer(e, target_->DragEnter(std::move(data), ShiftStateOf(e->modifiers()), pointOf(e),
                                     EffectsOf(e->possibleActions())));
        return true;
    }
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        answer(e, target_->DragOver(ShiftStateOf(e->modifiers()), pointOf(e),
                                    EffectsOf(e->possibleActions())));
        return true;
    }
    case QEvent::DragLeave:
        target_->DragLeave();
        event->accept();
        return true;
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        std::shared_ptr<const IDropDataObject> data;
        if (e->mimeData())
            data = MapMimeData(*e->mimeData());
        answer(e, target_->Drop(std::move(data), ShiftStateOf(e->modifiers()), pointOf(e),
                                EffectsOf(e->possibleActions())));
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace kovanta
