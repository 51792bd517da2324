#include "quitsignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kovanta {
namespace {

int signalPipe[2] = {-1, -1};
bool closing = false;
bool closingForSignal = false;

extern "C" void onTerminationSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe means a close is already pending.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void closeOnTerminationSignals(QWidget* window)
{
    if (signalPipe[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        // A signal while the close query asks (about a changed plan) is part of the same end;
        // close() would report the window as closed while it is still asking.
        if (closing)
            return;
        closing = true;
        closingForSignal = true;
        const bool closed = window->close();
        closing = false;
        if (!closed) {
            // The close query kept the program running: the user is there to read messages.
            closingForSignal = false;
            return;
        }
        // The main window's close alone does not end the program while another window is
        // shown (the import window hides the main window).
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

bool closingForTerminationSignal()
{
    return closingForSignal;
}

} // namespace kovanta
