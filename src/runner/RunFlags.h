#pragma once
// The flags through which the event handlers (port, timer, the first button) talk to a run
// that waits.

namespace telmaris {

struct RunFlags {
    bool running = false;
    bool userAbort = false;
    bool answerReceived = false;
    bool modemErrorReported = false;
    bool commEventError = false;
    bool pauseOver = false;
    bool answerTimeOver = false; // the modem let the answer time limit pass
    // The run's outcome is decided: its final status stays, later answers only reach the trace.
    bool runOver = false;
};

} // namespace telmaris
