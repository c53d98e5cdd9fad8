// The installer's windows, offscreen: the splash's timing and decision, the install-options
// window's check rows and buttons, installing from it, and the maintenance window. Message
// boxes are answered by the test.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "installer/frm_iapps.h"
#include "installer/frm_imain.h"
#include "installer/frm_imdfy.h"
#include "installer/installer_flow.h"
#include "installer/installer_look.h"
#include "installer_test_machine.h"
#include "platform/registry.h"
#include "platform/settings.h"

using namespace trawlex;
using namespace trawlex::installer;
using installer_test::TestMachine;

namespace {

const std::string kConnectRecord =
    "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Connect\\";

// Keeps what the message boxes would have shown and answers the questions.
class AnsweringMessages : public InstallerMessages {
  public:
    void Inform(QWidget*, const QString& text) override { shown << "inform: " + text; }
    void Critical(QWidget*, const QString& text) override { shown << "critical: " + text; }
    bool Confirm(QWidget*, const QString& text) override {
        shown << "confirm: " + text;
        return answerYes;
    }

    QStringList shown;
    bool answerYes = false;
};

QStringList Rows(const QWidget* window) {
    QStringList rows;
    auto* list = window->findChild<QListWidget*>("lstInstOption");
    for (int i = 0; list && i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

QPushButton* Button(const QWidget* window, const char* name) {
    return window->findChild<QPushButton*>(name);
}

}  // namespace

class InstallerWindowsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<TestMachine> machine_;
    AnsweringMessages messages_;
    std::unique_ptr<InstallerFlow> flow_;
    int ended_ = 0;

    void StartFlow(int splashTickMs = 10) {
        InstallerSettings settings;
        settings.folder = machine_->staging().toStdString();
        settings.splashTickMs = splashTickMs;
        settings.checkPausePercent = 0;
        settings.endProgram = [this] { ++ended_; };
        flow_ = std::make_unique<InstallerFlow>(settings, messages_);
        flow_->Start();
    }
    // The install-options window after the splash, with its checks done.
    FrmIApps* InstallOptions() {
        StartFlow();
        if (!QTest::qWaitFor([this] {
                return flow_->installOptions() && flow_->installOptions()->checksDone();
            })) {
            return nullptr;
        }
        return flow_->installOptions();
    }

  private slots:
    void init() {
        machine_ = std::make_unique<TestMachine>();
        messages_ = AnsweringMessages();
        ended_ = 0;
    }
    void cleanup() {
        flow_.reset();
        machine_.reset();
    }

    void splashShowsPlusAtTheFirstTickAndDecidesAtTheThird() {
        StartFlow(200);
        FrmIMain* splash = flow_->splash();
        QVERIFY(splash && splash->isVisible());
        QCOMPARE(splash->windowTitle(), QString("Trawlex Installer"));
        QVERIFY(splash->findChild<QLabel*>("imgTitle")->pixmap().width() > 0);
        auto* plus = splash->findChild<QLabel*>("lblPlus");
        QVERIFY(!plus->isVisible());
        QVERIFY(!splash->findChild<QLabel*>("lblPlusShadow")->isVisible());
        // Each text is drawn twice, the black copy 60 twips to the right and down.
        const int offset = TwipsToPixels(splash, 60);
        for (const char* name : {"lblTitle", "lblTagline", "lblPlus"}) {
            auto* label = splash->findChild<QLabel*>(name);
            auto* shadow = splash->findChild<QLabel*>(QString(name) + "Shadow");
            QVERIFY2(label && shadow, name);
            QCOMPARE(shadow->pos() - label->pos(), QPoint(offset, offset));
            QCOMPARE(shadow->text(), label->text());
        }
        QCOMPARE(splash->findChild<QLabel*>("lblTitle")->text(), QString("Trawlex"));
        QCOMPARE(splash->findChild<QLabel*>("lblTagline")->text(),
                 QString("Increase Your efficiency"));

        QTRY_VERIFY_WITH_TIMEOUT(plus->isVisible(), 2000);
        QCOMPARE(splash->tickCount(), 1);
        QVERIFY(!flow_->installOptions());
        QTRY_VERIFY_WITH_TIMEOUT(flow_->installOptions() != nullptr, 2000);
        QVERIFY(flow_->installOptions()->isVisible());
        QVERIFY(!flow_->maintenance());
        QTRY_VERIFY(flow_->splash() == nullptr);
        QCOMPARE(ended_, 0);
    }

    void maintenanceFollowsTheSplashWhenBootEditorIsSet() {
        QVERIFY(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "x").ok());
        StartFlow();
        QTRY_VERIFY(flow_->maintenance() != nullptr);
        FrmIMdfy* maintenance = flow_->maintenance();
        QVERIFY(maintenance->isVisible());
        QVERIFY(!flow_->installOptions());
        QCOMPARE(maintenance->windowTitle(), QString("Trawlex Plus Installer"));
        QCOMPARE(Button(maintenance, "cmdWebUpdate")->text(), QString("オンライン更新(&U)"));
        QCOMPARE(Button(maintenance, "cmdInst")->text(), QString("再インストール(&R)"));
        QCOMPARE(Button(maintenance, "cmdUninst")->text(), QString("削除(&D)"));
        QCOMPARE(maintenance->findChild<QLabel*>("lblWebUpdate")->text(),
                 QString("インターネット経由で、\nTrawlex Plus の新しいバージョンを取得します。"));
        QCOMPARE(maintenance->minimumSize(), maintenance->maximumSize());

        // Online update has nothing to do here.
        Button(maintenance, "cmdWebUpdate")->click();
        QVERIFY(maintenance->isVisible());
        QVERIFY(messages_.shown.isEmpty());

        // Reinstall: the install-options window takes the maintenance window's place.
        Button(maintenance, "cmdInst")->click();
        QVERIFY(flow_->maintenance() == nullptr);
        QVERIFY(flow_->installOptions() && flow_->installOptions()->isVisible());
        QTRY_VERIFY(flow_->installOptions()->checksDone());
        QCOMPARE(ended_, 0);
    }

    void checkRowsWithoutTheMainLibrary() {
        machine_.reset();  // one machine at a time: each sets TRAWLEX_ROOT
        machine_ = std::make_unique<TestMachine>(TestMachine::kNoLibraries);
        FrmIApps* window = InstallOptions();
        QVERIFY(window);
        QCOMPARE(Rows(window),
                 QStringList({"Visual Basic 6.0 [NG]",
                              "Microsoft Office - Visual Basic for Applications 6.0 [NG]",
                              "Trawlex Plus - trawlex.dll [NG]"}));
        QVERIFY(!Button(window, "cmdInst")->isEnabled());
        QVERIFY(window->isEnabled());
    }

    void checkRowsWithoutTheUpdater() {
        machine_.reset();
        machine_ = std::make_unique<TestMachine>(TestMachine::kMainLibraryOnly);
        QVERIFY(machine_->AddEditorMarkers());
        FrmIApps* window = InstallOptions();
        QVERIFY(window);
        QCOMPARE(Rows(window),
                 QStringList({"Visual Basic 6.0 [OK]",
                              "Microsoft Office - Visual Basic for Applications 6.0 [OK]",
                              "Trawlex Plus - trawlex.dll [OK]",
                              "Trawlex Plus Updater - trawlexup.dll [NG]"}));
        QVERIFY(!Button(window, "cmdInst")->isEnabled());
    }

    void checkRowsWithoutEditorsButWithBothLibraries() {
        FrmIApps* window = InstallOptions();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Trawlex Installer"));
        QCOMPARE(Rows(window),
                 QStringList({"Visual Basic 6.0 [NG]",
                              "Microsoft Office - Visual Basic for Applications 6.0 [NG]",
                              "Trawlex Plus - trawlex.dll [OK]",
                              "Trawlex Plus Updater - trawlexup.dll [OK]"}));
        QVERIFY(Button(window, "cmdInst")->isEnabled());
        QCOMPARE(Button(window, "cmdInst")->text(), QString("インストール(&I)"));
        QCOMPARE(Button(window, "cmdBack")->text(), QString("ｷｬﾝｾﾙ"));
        QCOMPARE(window->minimumSize(), window->maximumSize());
    }

    void closingAsksAndNoKeepsEverything() {
        FrmIApps* window = InstallOptions();
        QVERIFY(window);
        const QStringList rows = Rows(window);
        QVERIFY(!window->close());
        QCOMPARE(messages_.shown,
                 QStringList({"confirm: インストールを中止します\nよろしいですか？"}));
        QVERIFY(window->isVisible());
        QCOMPARE(Rows(window), rows);
        QVERIFY(Button(window, "cmdInst")->isEnabled());
        Button(window, "cmdBack")->click();
        QCOMPARE(messages_.shown.size(), 2);
        QVERIFY(window->isVisible());
        QCOMPARE(ended_, 0);

        messages_.answerYes = true;
        Button(window, "cmdBack")->click();
        QCOMPARE(ended_, 1);
        QVERIFY(!window->isVisible());
        QVERIFY(!platform::RegKeyExists(kConnectRecord));
    }

    void installFromTheWindowEndsWithItsMessage() {
        FrmIApps* window = InstallOptions();
        QVERIFY(window);
        Button(window, "cmdInst")->click();
        QCOMPARE(messages_.shown, QStringList({"inform: インストール完了"}));
        QCOMPARE(ended_, 1);
        QCOMPARE(installer_test::ReadAll(machine_->systemFile("trawlex.dll")),
                 installer_test::ReadAll(TRAWLEX_TEST_ADDIN));
        QCOMPARE(installer_test::ReadAll(machine_->systemFile("trawlexup.dll")),
                 installer_test::ReadAll(TRAWLEX_TEST_UPDATER));
        QVERIFY(platform::RegKeyExists(kConnectRecord));
    }

    void failedRegistrationIsReportedAndTheWindowStays() {
        FrmIApps* window = InstallOptions();
        QVERIFY(window);
        qputenv("TRAWLEX_TEST_ADDIN_FAIL", "1");
        Button(window, "cmdInst")->click();
        QCOMPARE(messages_.shown.size(), 1);
        const QString message = messages_.shown.front();
        QVERIFY2(message.startsWith("critical: インストールは失敗しました\nエラー:register "
                                    "trawlexup.dll: regsvr32 /S"),
                 qPrintable(message));
        QVERIFY2(message.endsWith("exit status 5(エラーコード=5)\n\n"
                                  "Visual Basic起動中の場合は一旦終了して下さい"),
                 qPrintable(message));
        QCOMPARE(ended_, 0);
        QVERIFY(window->isVisible());
        QVERIFY(Button(window, "cmdInst")->isEnabled());
    }

    void removalFromTheMaintenanceWindow() {
        QVERIFY(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "gedit %p").ok());
        StartFlow();
        QTRY_VERIFY(flow_->maintenance() != nullptr);
        FrmIMdfy* maintenance = flow_->maintenance();

        // A library that will not unregister: the removal failed, the window stays.
        QVERIFY(QFile::copy(TRAWLEX_TEST_ADDIN, machine_->systemFile("trawlex.dll")));
        qputenv("TRAWLEX_TEST_ADDIN_FAIL", "1");
        Button(maintenance, "cmdUninst")->click();
        QCOMPARE(messages_.shown,
                 QStringList({"inform: Trawlexのアンインストールに失敗しました\n"
                              "Visual BasicやMSOfficeを起動中の場合は、一旦終了して下さい。"}));
        QCOMPARE(ended_, 0);
        QVERIFY(maintenance->isVisible());

        qunsetenv("TRAWLEX_TEST_ADDIN_FAIL");
        messages_.shown.clear();
        Button(maintenance, "cmdUninst")->click();
        QCOMPARE(messages_.shown, QStringList({"inform: Trawlexをアンインストールしました"}));
        QCOMPARE(ended_, 1);
        QCOMPARE(platform::GetSetting("quillfen", "Trawlex", "BootEditor", "<absent>"),
                 std::string("<absent>"));
    }

    void closingTheMaintenanceWindowEndsTheProgram() {
        QVERIFY(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "x").ok());
        StartFlow();
        QTRY_VERIFY(flow_->maintenance() != nullptr);
        QVERIFY(flow_->maintenance()->close());
        QCOMPARE(ended_, 1);
        QVERIFY(messages_.shown.isEmpty());
    }
};

QTEST_MAIN(InstallerWindowsTest)
#include "installer_windows_qtest.moc"
