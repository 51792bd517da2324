#pragma once

class QWidget;

namespace kovanta {

// Closes window as its close box would (close query, settings saved when due) when the process
// receives SIGTERM, SIGINT or SIGHUP, e.g. when the desktop session ends. The signal handler
// only writes one byte into a pipe; the close runs on the user-interface thread. Call once, from
// the program's main() after the window exists; window must live until the event loop ends.
void closeOnTerminationSignals(QWidget* window);

// True once a termination signal has asked the window to close: nobody is there to answer a
// message box any more (the close must not wait for one).
bool closingForTerminationSignal();

} // namespace kovanta
