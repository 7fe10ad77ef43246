// The run log's file as copies of the program share it: lines written by two processes at the
// same moment stay whole and in each copy's order, the file passing its limit becomes the one
// older copy without losing a line (also when two copies find it full at once), and both
// files are readable only by their user. A full file that cannot be renamed stops growing, and
// the failure is told once.
#include "TempProgramFolder.h"
#include "runner/RunLog.h"
#include "runner/RunLogFile.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

using namespace telmaris;

class TestRunLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copiesWritingAtOnceKeepWholeLines();
    void aFullFileThatCannotBeRenamedStopsGrowing();
};

void TestRunLog::copiesWritingAtOnceKeepWholeLines() {
    constexpr int copies = 2;
    test::TempProgramFolder folder;
    // About 1.6 MB in all: the file passes its limit once.
    const int perCopy = 15000 / copies;
    std::vector<std::unique_ptr<QProcess>> children;
    for (int copy = 0; copy < copies; ++copy) {
        children.push_back(std::make_unique<QProcess>());
        children.back()->start(QStringLiteral(RUN_LOG_WRITER_CHILD),
                               {QStringLiteral("copy%1").arg(copy), QString::number(perCopy)});
        QVERIFY(children.back()->waitForReadyRead(30000)); // "ready"
    }
    for (const auto &child : children) {
        child->write("go\n");
        QVERIFY(child->waitForBytesWritten());
    }
    for (const auto &child : children) {
        QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitCode(), 0);
    }

    const QString path = folder.runLogPath();
    const QString older = path + QStringLiteral(".1");
    // Renamed past the limit; a copy that finds it being renamed may write on into it. How soon
    // a full file is renamed shows the test of a file that cannot be renamed.
    const qint64 olderSize = QFileInfo(older).size();
    QVERIFY2(olderSize >= RunLogFile::DefaultLimit, qPrintable(QString::number(olderSize)));
    static const QRegularExpression whole(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[\\d+\\] "
                       "empfangen: \u00bbcopy(\\d) (\\d+) x{64}\u00ab$"));
    QList<int> next(copies, 0);
    for (const QString &file : {older, path}) {
        QFile log(file);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray bytes = log.readAll();
        QVERIFY(bytes.endsWith('\n'));
        for (const QByteArray &line : bytes.chopped(1).split('\n')) {
            const QRegularExpressionMatch match = whole.match(QString::fromUtf8(line));
            QVERIFY2(match.hasMatch(), line.constData());
            const int copy = match.captured(1).toInt();
            QCOMPARE(match.captured(2).toInt(), next[copy]++);
        }
        struct stat info = {};
        QVERIFY(::stat(QFile::encodeName(file).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
    }
    QCOMPARE(next, QList<int>(copies, perCopy)); // no line lost
}

void TestRunLog::aFullFileThatCannotBeRenamedStopsGrowing() {
    test::TempProgramFolder folder;
    const QString path = folder.runLogPath();
    // A folder with something in it where the older copy would go: the rename fails.
    QVERIFY(QDir().mkpath(path + QStringLiteral(".1/kept")));
    RunLog log(path, 300);
    for (int run = 0; run < 3; ++run) {
        log.begin(1, QStringLiteral("Nacht"), 1, QStringLiteral("/dev/ttyS0"), 9600);
        for (int line = 0; line < 20; ++line)
            log.received(QString(40, u'x'));
        log.end(QStringLiteral("Fertig"), QString());
    }
    QVERIFY2(QFileInfo(path).size() < 300 + 200,
             qPrintable(QString::number(QFileInfo(path).size())));
    const std::optional<QString> failure = log.takeFailure();
    QVERIFY(failure && failure->startsWith(path + QStringLiteral(".1: ")));
    QVERIFY(!log.takeFailure());
    QVERIFY(QFileInfo::exists(path + QStringLiteral(".1/kept")));
}

QTEST_GUILESS_MAIN(TestRunLog)
#include "tst_runlog.moc"
