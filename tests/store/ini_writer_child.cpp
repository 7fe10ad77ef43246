// Test helper: one normal close of the program with every script slot changed. It stores all
// 100 script texts of the given generation in one write, then the settings with every name
// "Generation <generation>", and prints "writing" just before it starts so the test can kill
// it mid-way.
//   ini_writer_child <ini path> <generation>
#include "store/IniFile.h"
#include "store/ScriptSlots.h"
#include "store/StartDataFile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    telmaris::IniFile ini(QString::fromLocal8Bit(argv[1]));
    const QString generation = QString::fromLocal8Bit(argv[2]);
    telmaris::IniEntries entries;
    for (int n = 1; n <= 100; ++n) {
        const QString text = QStringLiteral("MODEM ATZ\r\nW\u00c4HLE %1\r\n").arg(n) +
                             QString(5000, QChar(u'a' + n % 26)) + u' ' + generation;
        entries.append({QStringLiteral("SkriptText%1").arg(n), telmaris::encodeIniText(text)});
    }
    QTextStream out(stdout);
    out << "writing" << Qt::endl;
    QString error;
    std::array<QString, 100> names;
    names.fill(QStringLiteral("Generation ") + generation);
    if (!ini.writeIniBatch(telmaris::DataSection, entries, &error) ||
        !telmaris::writeStartDataToIniFile(ini, telmaris::StartData(), names, &error)) {
        out << "failed " << error << Qt::endl;
        return 1;
    }
    return 0;
}
