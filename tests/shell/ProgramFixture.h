#pragma once
// A started Telmaris window on a temporary program folder: the real settings file, COM 1 on
// the modem simulator (COM 2 on a second one when asked), COM 3 and 4 on devices that do not
// exist, and scripted dialogs.

#include "PtyModem.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "help/DocumentOpener.h"
#include "shell/MainWindow.h"
#include "store/IniFile.h"

#include <QByteArray>
#include <memory>
#include <optional>

namespace telmaris::test {

// Takes the addresses the window hands to the desktop, so no browser starts.
class RecordingOpener : public DocumentOpener {
public:
    void Open(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
};

class ProgramFixture {
public:
    // dataSection: the lines of section [Data] (without the section line); ComPort=1 is added
    // when they name no port, so that start-up asks nothing.
    explicit ProgramFixture(const QByteArray &dataSection, bool secondModem = false) : modem1_() {
        const QByteArray port = dataSection.contains("ComPort=") ? "" : "ComPort=1\n";
        QByteArray ini = "[Data]\n" + port + dataSection +
                         "\n[Ports]\nCOM1=" + modem1_.devicePath().toUtf8() + "\n";
        if (secondModem) {
            modem2_ = std::make_unique<PtyModem>();
            ini += "COM2=" + modem2_->devicePath().toUtf8() + "\n";
        } else {
            ini += "COM2=" + folder.filePath(QStringLiteral("no-such-port-2")).toUtf8() + "\n";
        }
        ini += "COM3=" + folder.filePath(QStringLiteral("no-such-port-3")).toUtf8() + "\n";
        ini += "COM4=" + folder.filePath(QStringLiteral("no-such-port-4")).toUtf8() + "\n";
        folder.writeIni(ini);
        window = std::make_unique<MainWindow>(folder.path(), dialogs, &opener);
    }

    std::optional<int> start(const QString &argument = QString()) { return window->Init(argument); }

    // A value of section [Data] as the file holds it now.
    QString stored(const QString &key) const {
        return IniSnapshot::Load(folder.iniPath()).value(DataSection, key);
    }

    PtyModem &modem1() { return modem1_; }
    PtyModem &modem2() { return *modem2_; }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    RecordingOpener opener;
    std::unique_ptr<MainWindow> window;

private:
    PtyModem modem1_;
    std::unique_ptr<PtyModem> modem2_;
};

} // namespace telmaris::test
