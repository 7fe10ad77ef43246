#pragma once
// Section [AutoMode] of the settings file: what only unattended runs use. It is kept apart
// from [Data], whose layout another program may share, and the program never writes it; the
// user adds it by hand.

#include <QString>

namespace telmaris {

class IniSnapshot;

inline const QString AutoModeSection = QStringLiteral("AutoMode");

// Seconds an AutoMode run waits for each modem answer (key AntwortZeit); 0 waits for ever.
// A fraction rounds up to whole seconds (0.5 waits a second). Without a display nobody could
// abort, so the default is 60 there, else 0. A missing, empty, negative, non-numeric or too
// large value means the default.
int readAnswerTimeLimit(const IniSnapshot &ini, bool display);

} // namespace telmaris
