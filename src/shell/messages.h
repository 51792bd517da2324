#pragma once

#include <QEvent>

// The messages the main window posts to itself to defer work past the current event. Their
// event types are registered with Qt, so no other part of the program (the import window
// posts events of its own) can use the same number.
namespace kovanta {

inline const QEvent::Type MSG_RESTORE_PANELS = QEvent::Type(QEvent::registerEventType());
inline const QEvent::Type MSG_APPLY_ROWFINDER = QEvent::Type(QEvent::registerEventType());
inline const QEvent::Type MSG_RELOAD_RECIPES = QEvent::Type(QEvent::registerEventType());
// wParam: the requirements row to fill.
inline const QEvent::Type MSG_FILL_REQUIREMENT_ROW = QEvent::Type(QEvent::registerEventType());
inline const QEvent::Type MSG_TOGGLE_PLAN = QEvent::Type(QEvent::registerEventType());
// wParam: IMPORT_WINDOW_CLOSES when the import window closes; any other value: recipes stored.
inline const QEvent::Type MSG_IMPORT_NOTIFY = QEvent::Type(QEvent::registerEventType());

inline constexpr int IMPORT_WINDOW_CLOSES = 9;

// A posted window message with its two parameters. Post it with postWindowMessage(); the
// event loop takes ownership of the event.
class WindowMessage : public QEvent {
public:
    explicit WindowMessage(QEvent::Type type, long long wParam = 0, long long lParam = 0)
        : QEvent(type), wParam_(wParam), lParam_(lParam)
    {}
    long long wParam() const { return wParam_; }
    long long lParam() const { return lParam_; }

private:
    long long wParam_;
    long long lParam_;
};

// Posts a message to receiver (not null); it is handled after the events already queued.
void postWindowMessage(QObject* receiver, QEvent::Type type, long long wParam = 0,
                       long long lParam = 0);

} // namespace kovanta
