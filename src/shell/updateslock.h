#pragma once

#include <QPointer>
#include <QWidget>

namespace kovanta {

// Suspends painting of a widget for the life of the guard, so that a series of layout changes
// appears at once. Restores the state the widget had before; a widget destroyed meanwhile is
// left alone.
class UpdatesLock {
public:
    explicit UpdatesLock(QWidget* widget) : widget_(widget), wasEnabled_(widget->updatesEnabled())
    {
        widget->setUpdatesEnabled(false);
    }
    ~UpdatesLock()
    {
        if (widget_)
            widget_->setUpdatesEnabled(wasEnabled_);
    }
    UpdatesLock(const UpdatesLock&) = delete;
    UpdatesLock& operator=(const UpdatesLock&) = delete;

private:
    QPointer<QWidget> widget_;
    bool wasEnabled_;
};

} // namespace kovanta
