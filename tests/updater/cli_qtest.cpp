// trawlex-update and trawlex-update-server as programs: listing and installing against the
// real server started with port 0, exit statuses and the reasons on stderr.

#include <QDir>
#include <QProcess>
#include <QtTest>

#include "update_test_support.h"

using updater_test::TempMachine;

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run Update(const QStringList& args) {
    QProcess process;
    process.start(TRAWLEX_UPDATE, args);
    Run run;
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// trawlex-update-server on a folder, port 0; its address from the line it prints.
class ServerProcess {
  public:
    explicit ServerProcess(const QString& root) {
        process_.start(TRAWLEX_UPDATE_SERVER_PROGRAM, {"--root", root, "--port", "0"});
        if (!process_.waitForReadyRead(30'000)) return;
        const QString line = QString::fromUtf8(process_.readLine());
        url_ = line.mid(line.indexOf("http://")).trimmed();
    }
    ~ServerProcess() {
        process_.kill();
        process_.waitForFinished();
    }
    QString url() const { return url_; }

  private:
    QProcess process_;
    QString url_;
};

}  // namespace

class CliTest : public QObject {
    Q_OBJECT
  private slots:
    void listAndInstallAgainstTheServerProgram();
    void usageErrorsAndDeadServersExitWithTwo();
};

void CliTest::listAndInstallAgainstTheServerProgram() {
    TempMachine machine;
    const QByteArray old = updater_test::MainLibraryBytes() + "old";
    QVERIFY(machine.InstallMainLibrary(old));
    QTemporaryDir served;
    const QByteArray newLibrary = updater_test::MainLibraryBytes() + "3.01";
    QVERIFY(updater_test::WriteBytes(served.path() + "/trawlex-3.00.dll", "3.00"));
    QVERIFY(updater_test::WriteBytes(served.path() + "/trawlex-3.01.dll", newLibrary));
    QVERIFY(updater_test::WriteBytes(served.path() + "/trawlex-3.02.dll", "broken"));
    ServerProcess server(served.path());
    QVERIFY(server.url().startsWith("http://127.0.0.1:"));

    Run list = Update({"--server", server.url(), "--list"});
    QCOMPARE(list.exitCode, 0);
    QCOMPARE(list.out, QString("3.00\n3.01\n3.02\n"));

    // The server comes from the environment when --server is not given.
    qputenv("TRAWLEX_UPDATE_SERVER", server.url().toUtf8());
    Run install = Update({"--install", "3.01"});
    qunsetenv("TRAWLEX_UPDATE_SERVER");
    QCOMPARE(install.exitCode, 0);
    QCOMPARE(updater_test::InstalledProblem(machine, newLibrary), QString());

    Run absent = Update({"--server", server.url(), "--install", "3.05"});
    QCOMPARE(absent.exitCode, 1);
    QVERIFY2(absent.err.contains("HTTP status 404"), qPrintable(absent.err));
    Run broken = Update({"--server", server.url(), "--install", "3.02"});
    QCOMPARE(broken.exitCode, 1);
    QVERIFY2(broken.err.contains("not an add-in library"), qPrintable(broken.err));
    QCOMPARE(updater_test::InstalledProblem(machine, newLibrary), QString());
}

void CliTest::usageErrorsAndDeadServersExitWithTwo() {
    TempMachine machine;
    const QList<QStringList> usage = {{},
                                      {"--list", "--install", "3.01"},
                                      {"--install", "3.1"},
                                      {"--install"},
                                      {"--server", "ftp://example.jp", "--list"},
                                      {"--frobnicate"}};
    for (const QStringList& args : usage) {
        Run run = Update(args);
        QVERIFY2(run.exitCode == 2, qPrintable(args.join(' ') + ": " + run.err));
        QVERIFY(run.err.contains("usage: trawlex-update"));
    }
    Run dead = Update({"--server", "http://127.0.0.1:1", "--list"});
    QCOMPARE(dead.exitCode, 2);
    QVERIFY2(dead.err.contains("could not be reached"), qPrintable(dead.err));
    Run deadInstall = Update({"--server", "http://127.0.0.1:1", "--install", "3.01"});
    QCOMPARE(deadInstall.exitCode, 2);

    QProcess server;
    server.start(TRAWLEX_UPDATE_SERVER_PROGRAM, {"--port", "0"});
    QVERIFY(server.waitForFinished(30'000));
    QCOMPARE(server.exitCode(), 2);
}

QTEST_MAIN(CliTest)
#include "cli_qtest.moc"
