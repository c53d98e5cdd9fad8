// The version window with scripted answers, and the add-in object Update on the fake host:
// the questions and their order, the list and its selection, failures shown with their
// reason, the installation with the main add-in disconnected around it, and the Help menu
// command.

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>

#include "message_box_answers.h"
#include "platform/registry.h"
#include "tests/fake_host/fake_host.h"
#include "update_test_support.h"
#include "updater/frm_new_version.h"
#include "updater/proxy_rule.h"
#include "updater/update.h"
#include "updater/update_face.h"

using namespace trawlex;
using namespace trawlex::updater;
using host::fake::FakeHost;
using updater_test::FolderServer;
using updater_test::TempMachine;

namespace {

const QString kFirstQuestion = "インターネット経由でアップデートを確認します";
const QString kSecondQuestion = "新しいバージョンはありません\n旧バージョンを参照しますか？";

// Answers the questions in order (Yes when the script runs out) and records every box.
class ScriptedBoxes : public MessageBoxes {
  public:
    explicit ScriptedBoxes(std::deque<bool> answers = {}) : answers_(std::move(answers)) {}
    bool AskYesNo(QWidget*, const QString& text, Icon) override {
        asked << text;
        if (answers_.empty()) return true;
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void Tell(QWidget*, const QString& text, Icon icon) override {
        told << text;
        icons << icon;
    }
    QStringList asked, told;
    QList<Icon> icons;

  private:
    std::deque<bool> answers_;
};

CheckSettings Settings(const QString& url, Version current = {3, 0}) {
    return {url.toStdString(), current, 2000};
}

QStringList Rows(const frmNewVersion& window) {
    QStringList rows;
    for (int i = 0; i < window.lstVersions->count(); ++i)
        rows << window.lstVersions->item(i)->text();
    return rows;
}

void ProcessDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::shared_ptr<host::fake::FakeControl> UpdateButton(const FakeHost& host) {
    for (const auto& control : host.bar(host::fake::kHelpMenu)->controls()) {
        if (control->caption() == kUpdateCaption) return control;
    }
    return nullptr;
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { machine_ = std::make_unique<TempMachine>(); }
    void cleanup() { machine_.reset(); }

    void theListSelectsTheUpdatersVersion();
    void declinedQuestionsCloseTheWindow();
    void nothingNewerAsksTheSecondQuestion();
    void failuresOfTheCheckAreShownWithTheReason();
    void cancellingTheCheckClosesQuietly();
    void installingDisconnectsAndReconnectsTheMainAddin();
    void aFailedInstallationSaysWhyAndReconnects();
    void theHelpCommandOfTheUpdateAddin();
    void externalConnectionAddsNothing();

  private:
    std::unique_ptr<TempMachine> machine_;
};

void WindowTest::theListSelectsTheUpdatersVersion() {
    FolderServer server;
    for (const char* key : {"3.00", "3.01", "3.02"}) server.Put(key, "lib");
    auto boxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion window(nullptr, Settings(server.url()), boxes);
    QVERIFY(window.Form_Load());
    QCOMPARE(boxes->asked, QStringList(kFirstQuestion));
    QCOMPARE(window.windowTitle(), QString("Trawlex Plus Updates"));
    QCOMPARE(window.CurrentVersion, QString("Version 3.00"));
    QCOMPARE(Rows(window), QStringList({"Version 3.00", "Version 3.01", "Version 3.02"}));
    QCOMPARE(window.lstVersions->currentRow(), 0);
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window.cmdVersion->text(), QString("バージョン更新"));
    QCOMPARE(window.cmdCancel->text(), QString("キャンセル"));

    // With no row selected, バージョン更新 does nothing.
    window.lstVersions->clearSelection();
    const int requests = server.requests().size();
    window.cmdVersion_Click();
    QCOMPARE(server.requests().size(), requests);
    QVERIFY(boxes->told.isEmpty());
}

void WindowTest::declinedQuestionsCloseTheWindow() {
    FolderServer server;
    server.Put("3.00", "lib");
    auto declined = std::make_shared<ScriptedBoxes>(std::deque<bool>{false});
    frmNewVersion first(nullptr, Settings(server.url()), declined);
    QVERIFY(!first.Form_Load());
    QVERIFY(server.requests().isEmpty());

    auto secondDeclined = std::make_shared<ScriptedBoxes>(std::deque<bool>{true, false});
    frmNewVersion second(nullptr, Settings(server.url()), secondDeclined);
    QVERIFY(!second.Form_Load());
    QCOMPARE(secondDeclined->asked, QStringList({kFirstQuestion, kSecondQuestion}));
    QVERIFY(secondDeclined->told.isEmpty());
}

void WindowTest::nothingNewerAsksTheSecondQuestion() {
    FolderServer server;
    for (const char* key : {"3.00", "3.01", "3.02"}) server.Put(key, "lib");
    auto boxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion newest(nullptr, Settings(server.url(), {3, 2}), boxes);
    QVERIFY(newest.Form_Load());
    QCOMPARE(boxes->asked, QStringList({kFirstQuestion, kSecondQuestion}));
    QCOMPARE(newest.lstVersions->currentRow(), 2);

    FolderServer empty;
    auto emptyBoxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion none(nullptr, Settings(empty.url()), emptyBoxes);
    QVERIFY(none.Form_Load());
    QCOMPARE(emptyBoxes->asked, QStringList({kFirstQuestion, kSecondQuestion}));
    QCOMPARE(none.lstVersions->count(), 0);

    // An updater version the server lacks: nothing selected, no second question.
    auto unknownBoxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion unknown(nullptr, Settings(server.url(), {2, 0}), unknownBoxes);
    QVERIFY(unknown.Form_Load());
    QCOMPARE(unknownBoxes->asked, QStringList(kFirstQuestion));
    QVERIFY(unknown.lstVersions->selectedItems().isEmpty());
}

void WindowTest::failuresOfTheCheckAreShownWithTheReason() {
    auto boxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion dead(nullptr, Settings("http://127.0.0.1:1"), boxes);
    QVERIFY(!dead.Form_Load());
    QCOMPARE(boxes->told.size(), 1);
    QVERIFY(boxes->told[0].startsWith("アップデートを確認できませんでした。\n"));
    QVERIFY2(boxes->told[0].contains("could not be reached"), qPrintable(boxes->told[0]));
    QCOMPARE(boxes->icons[0], MessageBoxes::Icon::Critical);

    const std::string settings = kInternetSettings;
    QVERIFY(platform::RegWrite(settings + "ProxyEnable", "1", "REG_DWORD"));
    FolderServer server;
    auto proxyBoxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion badProxy(nullptr, Settings(server.url()), proxyBoxes);
    QVERIFY(!badProxy.Form_Load());
    QCOMPARE(proxyBoxes->told.size(), 1);
    QVERIFY2(proxyBoxes->told[0].contains("ProxyServer"), qPrintable(proxyBoxes->told[0]));
    QVERIFY(server.requests().isEmpty());
}

void WindowTest::cancellingTheCheckClosesQuietly() {
    updater_test::ScriptedServer silent;
    silent.Set("3.00", updater_test::ScriptedServer::Silent());
    auto boxes = std::make_shared<ScriptedBoxes>();
    frmNewVersion window(nullptr, {silent.url().toStdString(), {3, 0}, 60'000}, boxes);
    QTimer::singleShot(200, &window, [&] {
        QVERIFY(window.busy());
        window.CancelRequests();
    });
    QVERIFY(!window.Form_Load());
    QVERIFY(boxes->told.isEmpty());
}

void WindowTest::installingDisconnectsAndReconnectsTheMainAddin() {
    QVERIFY(machine_->InstallMainLibrary(updater_test::MainLibraryBytes() + "old"));
    FolderServer server;
    const QByteArray newLibrary = updater_test::MainLibraryBytes() + "3.01";
    server.Put("3.00", "probe only");
    server.Put("3.01", newLibrary);
    FakeHost host;
    auto mainAddin = host.AddAddin("Trawlex.Connect", true, true);
    auto boxes = std::make_shared<ScriptedBoxes>();
    QPointer<frmNewVersion> window = new frmNewVersion(&host, Settings(server.url()), boxes);
    QVERIFY(window->Form_Load());
    window->show();
    window->lstVersions->setCurrentRow(1);
    window->cmdVersion->click();
    ProcessDeletions();
    QVERIFY(!window);
    QCOMPARE(boxes->told, QStringList("アップデート完了！"));
    QCOMPARE(mainAddin->changes(), std::vector<std::string>({"Installed=False", "Connect=False",
                                                             "Installed=True", "Connect=True"}));
    QCOMPARE(updater_test::InstalledProblem(*machine_, newLibrary), QString());
}

void WindowTest::aFailedInstallationSaysWhyAndReconnects() {
    const QByteArray old = updater_test::MainLibraryBytes() + "old";
    QVERIFY(machine_->InstallMainLibrary(old));
    FolderServer server;
    server.Put("3.00", "not a library at all");
    FakeHost host;
    auto mainAddin = host.AddAddin("Trawlex.Connect", true, true);
    auto boxes = std::make_shared<ScriptedBoxes>();
    QPointer<frmNewVersion> window = new frmNewVersion(&host, Settings(server.url()), boxes);
    QVERIFY(window->Form_Load());
    window->cmdVersion_Click();
    ProcessDeletions();
    QVERIFY(!window);
    QCOMPARE(boxes->told.size(), 1);
    QVERIFY(boxes->told[0].startsWith("アップデートに失敗しました。\n"));
    QVERIFY2(boxes->told[0].contains("not an add-in library"), qPrintable(boxes->told[0]));
    QCOMPARE(boxes->icons[0], MessageBoxes::Icon::Critical);
    QVERIFY(mainAddin->installed() && mainAddin->connected());
    QCOMPARE(updater_test::InstalledProblem(*machine_, old), QString());
}

void WindowTest::theHelpCommandOfTheUpdateAddin() {
    FolderServer server;
    server.Put("3.00", "lib");
    server.Put("3.01", "lib");
    qputenv("TRAWLEX_UPDATE_SERVER", server.url().toUtf8());
    FakeHost host;
    const auto helpBefore = host.bar(host::fake::kHelpMenu)->captions();
    {
        Update update;
        update.OnConnection(host, host::ext_cm_AfterStartup);
        auto captions = host.bar(host::fake::kHelpMenu)->captions();
        QCOMPARE(captions, std::vector<std::string>(
                               {"&Contents", kUpdateCaption, "&About Microsoft Visual Basic"}));
        auto button = UpdateButton(host);
        QVERIFY(button && button->face());
        QVERIFY(*button->face() == UpdateFace());
        QCOMPARE(UpdateFace().width, 16);
        QVERIFY(host.clipboardPicture() && *host.clipboardPicture() == UpdateFace());

        updater_test::MessageBoxAnswers answers;
        QVERIFY(host.FireClick(button));
        QWidget* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "frmNewVersion" && widget->isVisible()) window = widget;
        }
        QVERIFY(window);
        QCOMPARE(answers.texts, QStringList(kFirstQuestion));
        const int requests = server.requests().size();
        // A second click finds the window open: no second check.
        QVERIFY(host.FireClick(button));
        QCOMPARE(server.requests().size(), requests);
        QCOMPARE(answers.texts.size(), 1);

        QPointer<QWidget> open = window;
        update.OnDisconnection(host::ext_dm_UserClosed);
        ProcessDeletions();
        QVERIFY(!open);
        QCOMPARE(host.bar(host::fake::kHelpMenu)->captions(), helpBefore);
    }
    qunsetenv("TRAWLEX_UPDATE_SERVER");
}

void WindowTest::externalConnectionAddsNothing() {
    FakeHost host;
    const auto helpBefore = host.bar(host::fake::kHelpMenu)->captions();
    Update update;
    update.OnConnection(host, host::ext_cm_External);
    QCOMPARE(host.bar(host::fake::kHelpMenu)->captions(), helpBefore);
    QVERIFY(!host.clipboardPicture());
    update.OnDisconnection(host::ext_dm_UserClosed);
    QCOMPARE(host.bar(host::fake::kHelpMenu)->captions(), helpBefore);
}

QTEST_MAIN(WindowTest)
#include "window_qtest.moc"
