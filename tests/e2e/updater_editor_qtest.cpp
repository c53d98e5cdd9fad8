// The updater add-in in the Visual Basic 6.0 flavour of the editor: both libraries installed
// in the system directory and registered, the Help menu command, the version window listing
// the versions of a loopback update server, and an update that replaces trawlex.dll while
// the editor runs and connects the new library.

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "e2e_support.h"
#include "platform/registry.h"
#include "tests/updater/message_box_answers.h"
#include "vbide/addin_manager.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"

using namespace trawlex::vbide;

namespace {

const QString kUpdateCaption = "Trawlex Plusの アップデート(&U)";

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QWidget* VersionWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmNewVersion" && widget->isVisible()) return widget;
    }
    return nullptr;
}

}  // namespace

class UpdaterEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void theHelpCommandUpdatesTheMainLibrary();
    void theOfficeEditorLoadsTheUpdaterFromItsRecord();
};

void UpdaterEditorTest::theHelpCommandUpdatesTheMainLibrary() {
    e2e::ScopedMachine machine;
    const QByteArray previousPath = qgetenv("PATH");
    qputenv("PATH", QByteArray(TRAWLEX_PROGRAM_DIRS) + ":" + previousPath);
    const QString system = machine.path() + "/system32";
    QVERIFY(QDir().mkpath(system));
    const QByteArray built = Bytes(TRAWLEX_DLL);
    QVERIFY(Write(system + "/trawlex.dll", built + "installed"));
    QVERIFY(Write(system + "/trawlexup.dll", Bytes(TRAWLEX_UPDATER_DLL)));
    for (const char* library : {"/trawlex.dll", "/trawlexup.dll"}) {
        QCOMPARE(e2e::RunProgram(TRAWLEX_REGSVR32, {"/S", system + library}), 0);
    }

    QTemporaryDir served;
    const QByteArray newLibrary = built + "version 3.01";
    QVERIFY(Write(served.path() + "/trawlex-3.00.dll", built));
    QVERIFY(Write(served.path() + "/trawlex-3.01.dll", newLibrary));
    QProcess server;
    server.start(TRAWLEX_UPDATE_SERVER_PROGRAM, {"--root", served.path()});
    QVERIFY(server.waitForReadyRead(30'000));
    const QString line = QString::fromUtf8(server.readLine());
    qputenv("TRAWLEX_UPDATE_SERVER", line.mid(line.indexOf("http://")).trimmed().toUtf8());

    {
        auto ide = std::make_unique<IdeWindow>(Flavour::VisualBasic6);
        QVERIFY(ide->OpenPath(QString(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp"));
        ide->show();
        ide->ConnectStartupAddins();
        AddinManager& addins = ide->Host().Manager();
        QVERIFY(addins.IsConnected("Trawlex.Connect"));
        QVERIFY(addins.IsConnected("Trawlex.Update"));
        const QStringList help = e2e::BarCaptions(*ide, "Help");
        QCOMPARE(help.indexOf(kUpdateCaption), help.size() - 2);

        updater_test::MessageBoxAnswers answers;
        QAction* command = e2e::BarAction(*ide, "Help", kUpdateCaption);
        QVERIFY(command);
        command->trigger();
        QWidget* window = VersionWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Trawlex Plus Updates"));
        auto* list = window->findChild<QListWidget*>("lstVersions");
        QVERIFY(list);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QString("Version 3.00"));
        QCOMPARE(list->item(1)->text(), QString("Version 3.01"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(answers.texts, QStringList("インターネット経由でアップデートを確認します"));

        list->setCurrentRow(1);
        window->findChild<QPushButton*>("cmdVersion")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!VersionWindow());
        QCOMPARE(answers.texts.last(), QString("アップデート完了！"));
        QVERIFY(Bytes(system + "/trawlex.dll") == newLibrary);
        // The new library is connected and has put its commands back.
        QVERIFY(addins.IsConnected("Trawlex.Connect"));
        QVERIFY(e2e::BarAction(*ide, "標準", e2e::kSearchCaption));

        QVERIFY(addins.Disconnect("Trawlex.Update", trawlex::host::ext_dm_UserClosed));
        QVERIFY(!e2e::BarCaptions(*ide, "Help").contains(kUpdateCaption));
    }
    server.kill();
    server.waitForFinished();
    qunsetenv("TRAWLEX_UPDATE_SERVER");
    qputenv("PATH", previousPath);
}

void UpdaterEditorTest::theOfficeEditorLoadsTheUpdaterFromItsRecord() {
    e2e::ScopedMachine machine;
    const QString system = machine.path() + "/system32";
    QVERIFY(QDir().mkpath(system));
    QVERIFY(Write(system + "/trawlexup.dll", Bytes(TRAWLEX_UPDATER_DLL)));
    QCOMPARE(e2e::RunProgram(TRAWLEX_REGSVR32, {"/S", system + "/trawlexup.dll"}), 0);
    // The Office editor finds add-ins only through the record the installer writes.
    const std::string record = "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Update\\";
    QVERIFY(trawlex::platform::RegWrite(record + "FriendlyName", "Trawlex Plus Updater").ok());
    QVERIFY(trawlex::platform::RegWrite(record + "CommandLineSafe", "0", "REG_DWORD").ok());
    QVERIFY(trawlex::platform::RegWrite(record + "LoadBehavior", "3", "REG_DWORD").ok());

    IdeWindow ide(Flavour::OfficeEditor);
    ide.show();
    ide.ConnectStartupAddins();
    QVERIFY(ide.Host().Manager().IsConnected("Trawlex.Update"));
    const QStringList help = e2e::BarCaptions(ide, "Help");
    QCOMPARE(help.indexOf(kUpdateCaption), help.size() - 2);
    QVERIFY(ide.Host().Manager().Disconnect("Trawlex.Update", trawlex::host::ext_dm_UserClosed));
    QVERIFY(!e2e::BarCaptions(ide, "Help").contains(kUpdateCaption));
}

QTEST_MAIN(UpdaterEditorTest)
#include "updater_editor_qtest.moc"
