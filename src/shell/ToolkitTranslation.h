#pragma once
// The toolkit's own texts (dialog buttons, context menus, file and port errors) in German.

class QCoreApplication;

namespace telmaris {

// Loads Qt's German texts into the application, whatever the system language, because the
// whole interface is German. Without the translation file the program runs on with the
// toolkit's English texts and, when sayWhenMissing, says on standard error which package
// brings the file. Returns whether the German texts are in use.
bool loadGermanToolkitTexts(QCoreApplication &app, bool sayWhenMissing = true);

} // namespace telmaris
