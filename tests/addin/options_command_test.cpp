// The two options commands on the fake host: the dialog opens modeless, once; OK hands the
// new editor command to the search window; the cleanup reaches the connected host's code;
// the dialog goes with the library's windows.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "addin/connect.h"
#include "addin/shared_state.h"
#include "platform/settings.h"
#include "temp_root.h"
#include "tests/fake_host/fake_host.h"
#include "window/frm_add_in.h"
#include "window/frm_option.h"

using namespace trawlex;
using addin::Connect;
using host::fake::FakeHost;

namespace {

const std::string kOptionsCaption = "Trawlex Plusの ｵﾌﾟｼｮﾝ";
const std::string kMenuOptionsCaption = "&Trawlex Plusの ｵﾌﾟｼｮﾝ";

std::shared_ptr<host::fake::FakeControl> Find(const FakeHost& host, const char* bar,
                                              const std::string& caption) {
    for (const auto& control : host.bar(bar)->controls()) {
        if (control->caption() == caption) return control;
    }
    return nullptr;
}

QList<window::frmOption*> OpenDialogs() {
    QList<window::frmOption*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<window::frmOption*>(widget); dialog && dialog->isVisible())
            dialogs << dialog;
    }
    return dialogs;
}

// Answers the next message box with OK and keeps its text.
void AnswerNextMessageBox(QString* text) {
    QTimer::singleShot(0, [text] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                *text = box->text();
                box->accept();
                return;
            }
        }
        AnswerNextMessageBox(text);  // not shown yet
    });
}

}  // namespace

class OptionsCommandTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { root_ = std::make_unique<testing::TempRoot>(); }
    void cleanup() { root_.reset(); }

    void bothCommandsOpenOneModelessDialog() {
        FakeHost host;
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);
        QVERIFY(OpenDialogs().isEmpty());

        QVERIFY(host.FireClick(Find(host, host::fake::kStandardBar, kOptionsCaption)));
        QCOMPARE(OpenDialogs().size(), 1);
        QPointer<window::frmOption> dialog = OpenDialogs().first();
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Trawlex Plus の ｵﾌﾟｼｮﾝ"));

        // The menu item brings the same dialog forward.
        QVERIFY(host.FireClick(Find(host, host::fake::kToolsMenu, kMenuOptionsCaption)));
        QCOMPARE(OpenDialogs().size(), 1);
        QCOMPARE(OpenDialogs().first(), dialog.data());

        // OK with the search window closed saves and does not make the search window.
        dialog->txtEditor->setText(QStringLiteral("gedit \"%p\""));
        dialog->cmdOK->click();
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(!addin::ExistingSearchWindow());
        QCOMPARE(platform::GetSetting("quillfen", "Trawlex", "BootEditor"),
                 std::string("gedit \"%p\""));
        // The shared editor command follows at once.
        QCOMPARE(addin::EditorTemplate(), std::string("gedit \"%p\""));
        QCOMPARE(addin::SearchWindow().EditorTemplate(), std::string("gedit \"%p\""));

        // Opening again is a fresh dialog showing the stored value.
        QVERIFY(host.FireClick(Find(host, host::fake::kToolsMenu, kMenuOptionsCaption)));
        QCOMPARE(OpenDialogs().size(), 1);
        QCOMPARE(OpenDialogs().first()->txtEditor->text(), QStringLiteral("gedit \"%p\""));
    }

    void cleanupWorksOnTheConnectedHostsCode() {
        FakeHost host;
        auto project = host.AddProject("Project1");
        auto module = project->AddModule("modA", "Sub A()\r\n    \r\nEnd Sub");
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);
        QVERIFY(host.FireClick(Find(host, host::fake::kStandardBar, kOptionsCaption)));
        QCOMPARE(OpenDialogs().size(), 1);
        QString text;
        AnswerNextMessageBox(&text);
        OpenDialogs().first()->cmdClSpc->click();
        QCOMPARE(text, QStringLiteral("1行の無駄スペースを削除しました。"));
        QCOMPARE(module->module()->text(), "Sub A()\r\n\r\nEnd Sub");
    }

    void theDialogGoesWithTheLibrarysWindows() {
        FakeHost host;
        QPointer<window::frmOption> dialog;
        {
            Connect connect;
            connect.OnConnection(host, host::ext_cm_AfterStartup);
            QVERIFY(host.FireClick(Find(host, host::fake::kStandardBar, kOptionsCaption)));
            dialog = OpenDialogs().value(0);
            QVERIFY(dialog);
        }
        QVERIFY(dialog.isNull());
    }

  private:
    std::unique_ptr<testing::TempRoot> root_;
};

QTEST_MAIN(OptionsCommandTest)
#include "options_command_test.moc"
