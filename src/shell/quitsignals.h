#pragma once

class QWidget;

namespace kovanta {

// Ends the program as a session end should when the process receives SIGTERM, SIGINT or SIGHUP:
// window is closed as its close box would close it (close query, settings saved when due); when
// it has closed, every other window is closed too (the import window ends a fetch it runs, open
// dialogs end) and the event loop quits, also while the main window is hidden behind the import
// window. A close the close query refuses keeps the program running as it was. The signal
// handler only writes one byte into a pipe; the rest runs on the user-interface thread. Call
// once, from the program's main() after the window exists; window must live until the event
// loop ends.
void closeOnTerminationSignals(QWidget* window);

// True while a termination signal closes the window, and after it closed: nobody is there to
// answer a message box any more (the close must not wait for one).
bool closingForTerminationSignal();

} // namespace kovanta
