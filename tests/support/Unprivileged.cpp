#include "Unprivileged.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace Unprivileged {

namespace {

constexpr int kNobody = 65534;
// A fuse against a child that hangs, far above the second or two a case takes.
constexpr int kChildFuseMs = 120000;

// Records a failure of the current test when `ok` is false; returns `ok`.
bool check(bool ok, const QString& what, int line) {
    return QTest::qVerify(ok, "", qPrintable(what), __FILE__, line);
}

} // namespace

bool rerunIfRoot() {
    if (geteuid() != 0)
        return false;

    // The build folder may not be open to other users: the child runs from a copy in a folder
    // it can read, with a home of its own there.
    QTemporaryDir dir;
    if (!check(dir.isValid(), QStringLiteral("no temporary folder"), __LINE__))
        return true;
    const QString program = dir.filePath(QStringLiteral("test"));
    if (!check(QFile::copy(QCoreApplication::applicationFilePath(), program),
               QStringLiteral("cannot copy the test program"), __LINE__))
        return true;
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther;
    if (!check(QFile::setPermissions(dir.path(), open | QFile::WriteOther | QFile::WriteGroup) &&
                   QFile::setPermissions(program, open),
               QStringLiteral("cannot open the copy to other users"), __LINE__))
        return true;

    QString testCase = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* tag = QTest::currentDataTag(); tag && *tag)
        testCase += u':' + QString::fromUtf8(tag);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    // The leak checker needs to trace its own threads, which a changed user may not.
    QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), (asan.isEmpty() ? QString() : asan + u':') +
                                                           QStringLiteral("detect_leaks=0"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(dir.path());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=%1").arg(kNobody),
                                            QStringLiteral("--regid=%1").arg(kNobody),
                                            QStringLiteral("--clear-groups"), program, testCase});
    if (!check(child.waitForStarted(), QStringLiteral("setpriv (util-linux) did not start"),
               __LINE__))
        return true;
    if (!child.waitForFinished(kChildFuseMs))
        child.kill();
    const QByteArray output = child.readAll();
    const bool passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                        output.contains(" 0 failed, 0 skipped") &&
                        output.contains(QByteArray("::") + QTest::currentTestFunction() + '(');
    check(passed,
          QStringLiteral("the case as user %1:\n").arg(kNobody) + QString::fromLocal8Bit(output),
          __LINE__);
    return true;
}

} // namespace Unprivileged
