// Test helper: stores the settings again and again until it is killed. Each round writes the
// generation number into every one of the 108 settings keys and a long script text, so that a
// kill lands in the middle of a write. Prints each finished generation.
#include "store/IniFile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    telmaris::IniFile ini(QString::fromLocal8Bit(argv[1]));
    QTextStream out(stdout);
    for (int generation = 1;; ++generation) {
        const QString g = QString::number(generation);
        telmaris::IniEntries entries{{QStringLiteral("Generation"), g}};
        for (int key = 1; key <= 107; ++key)
            entries.append({QStringLiteral("Key%1").arg(key), g});
        entries.append({QStringLiteral("SkriptText1"), QString(200000, u'x') + g});
        QString error;
        if (!ini.WriteIniBatch(telmaris::DataSection, entries, &error)) {
            out << "failed " << error << Qt::endl;
            return 1;
        }
        out << g << Qt::endl;
    }
}
