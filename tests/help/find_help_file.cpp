// find-help-file FOLDER: prints where the program in FOLDER finds its manual, by the program's
// own search rule; exit status 1 when it finds none. The package check applies it to the
// program extracted from the package.

#include "help/Help.h"

#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: find-help-file FOLDER\n");
        return 2;
    }
    const QString path = telmaris::findHelpFile(QString::fromLocal8Bit(argv[1]));
    if (path.isEmpty())
        return 1;
    std::printf("%s\n", qUtf8Printable(path));
    return 0;
}
