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
};

} // namespace telmaris
