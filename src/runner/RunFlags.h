#pragma once
// The flags through which the event handlers (port, timer, the first button) talk to a run
// that waits.

namespace telmaris {

struct RunFlags {
    bool Running = false;
    bool UserAbort = false;
    bool AnswerReceived = false;
    bool ModemErrorReported = false;
    bool CommEventError = false;
    bool PauseOver = false;
    bool AnswerTimeOver = false; // the modem let the answer time limit pass
};

} // namespace telmaris
