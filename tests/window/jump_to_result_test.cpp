// Opening a hit: the whole line selected in the host's code pane for a module hit, and the
// editor started from its template for a file hit, with unsafe file names kept as data.

#include "window/jump_to_result.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/machine.h"
#include "platform/settings.h"
#include "recording_program.h"
#include "tests/fake_host/fake_host.h"
#include "window/control_settings.h"
#include "window/result_list.h"

using trawlex::host::Selection;
using trawlex::host::fake::FakeHost;
using trawlex::window::BuildEditorArgv;
using trawlex::window::JumpToFileLine;
using trawlex::window::JumpToResult;

namespace {

using Argv = std::vector<std::string>;

const std::string kNastyPath = "/tmp/a \"b\"; $(touch pwned) `id` & c%l.bas";

void SetEditor(const QString& editorTemplate) {
    QVERIFY(trawlex::window::WriteSetting(QStringLiteral("BootEditor"), editorTemplate).ok());
}

void ClearEditor() {
    // An absent setting is as good as a deleted one.
    static_cast<void>(trawlex::platform::DeleteSetting("quillfen", "Trawlex", "BootEditor"));
}

}  // namespace

class JumpToResultTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        qputenv("TRAWLEX_ROOT", root_.path().toUtf8());
    }

    void listKindFollowsTheFirstHeader() {
        using trawlex::window::IsModuleList;
        QVERIFY(IsModuleList(QStringLiteral("ﾓｼﾞｭｰﾙ名")));
        QVERIFY(IsModuleList(QStringLiteral("▲ﾓｼﾞｭｰﾙ名")));
        QVERIFY(IsModuleList(QStringLiteral("▼ﾓｼﾞｭｰﾙ名")));
        QVERIFY(!IsModuleList(QStringLiteral("ﾌｧｲﾙ名")));
        QVERIFY(!IsModuleList(QStringLiteral("▼ﾌｧｲﾙ名")));
    }

    void templateIsSplitBeforeTheHitIsInserted() {
        QCOMPARE(BuildEditorArgv("notepad \"%p\"", "12", kNastyPath),
                 (Argv{"notepad", kNastyPath}));
        // Unquoted "%p" still gives the path as one argument.
        QCOMPARE(BuildEditorArgv("ed %p", "1", "/my dir/a b.bas"), (Argv{"ed", "/my dir/a b.bas"}));
        // "%l" is trimmed and replaced first, so a "%l" in the path stays as it is.
        QCOMPARE(BuildEditorArgv("\"/opt/hm/hidemaru\" /j%l \"%p\"", "  42 ", "/x/%l.bas"),
                 (Argv{"/opt/hm/hidemaru", "/j42", "/x/%l.bas"}));
        QCOMPARE(BuildEditorArgv("ed +%l:%l", "7", "/f"), (Argv{"ed", "+7:7"}));
        QCOMPARE(BuildEditorArgv("ed --%x %L %P", "7", "/f"), (Argv{"ed", "--%x", "%L", "%P"}));
        QCOMPARE(BuildEditorArgv("", "7", "/f"), Argv{});
    }

    void fileHitRunsTheEditorAndTellsWhenItEnded() {
        trawlex::testing::RecordingProgram editor(QStringLiteral("recordingeditor"));
        SetEditor(QStringLiteral("recordingeditor -n%l \"%p\""));
        std::string editorTemplate;
        QObject context;
        bool ended = false;
        QVERIFY(
            JumpToFileLine(editorTemplate, kNastyPath, " 15 ", &context, [&] { ended = true; }));
        QCOMPARE(editorTemplate, std::string("recordingeditor -n%l \"%p\""));
        QTRY_VERIFY(ended);
        QVERIFY(editor.Ran());  // it had written its log before it ended
        QCOMPARE(editor.Arguments(), QStringList({"-n15", QString::fromStdString(kNastyPath)}));
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }

    void missingEditorFailsQuietly() {
        SetEditor(QStringLiteral("no-such-editor \"%p\""));
        std::string editorTemplate;
        QVERIFY(!JumpToFileLine(editorTemplate, "/x.bas", "1"));
        QCOMPARE(editorTemplate, std::string("no-such-editor \"%p\""));
    }

    void notepadStandsForThePlainTextEditor() {
        ClearEditor();
        trawlex::testing::RecordingProgram opener(QStringLiteral("xdg-open"));
        std::string editorTemplate;
        QVERIFY(JumpToFileLine(editorTemplate, "/my dir/Form1.frm", "3"));
        QCOMPARE(editorTemplate, std::string("notepad \"%p\""));
        QCOMPARE(opener.Arguments(), QStringList({"/my dir/Form1.frm"}));

        // Where a program of that name exists, it is the editor.
        trawlex::testing::RecordingProgram notepad(QStringLiteral("notepad"));
        QVERIFY(JumpToFileLine(editorTemplate, "/my dir/Form2.frm", "3"));
        QTRY_COMPARE(notepad.Arguments(), QStringList({"/my dir/Form2.frm"}));
    }

    void fileHitLeavesTheEventLoopRunningUntilTheEditorEnds() {
        // An editor that stays open until the test lets it go.
        QTemporaryDir scratch;
        const QString release = scratch.filePath("release");
        const QString program = QString::fromStdString(trawlex::platform::GetSystemDir()) + "/held";
        {
            QFile script(program);
            QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
            script.write("#!/bin/sh\nwhile [ ! -e \"" + release.toUtf8() +
                         "\" ]; do sleep 0.05; done\n");
            script.close();
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
        }
        SetEditor(QStringLiteral("held \"%p\""));
        QObject context;
        bool ended = false;
        std::string editorTemplate;
        QVERIFY(JumpToFileLine(editorTemplate, "/src/a.bas", "1", &context, [&] { ended = true; }));
        // Back at once, with the editor still open; events go on being handled meanwhile.
        QVERIFY(!ended);
        bool handled = false;
        QTimer::singleShot(0, &context, [&] { handled = true; });
        QTRY_VERIFY(handled);
        QVERIFY(!ended);

        QFile(release).open(QIODevice::WriteOnly);
        QTRY_VERIFY(ended);
        QFile::remove(program);
    }

    void moduleHitSelectsTheWholeLine() {
        FakeHost host;
        auto project = host.AddProject("Project1");
        project->AddModule("Module1", "Option Explicit\r\nDim x\r\n");
        auto form = project->AddModule("Form1", "Sub A()\r\nあいうえ\r\nEnd Sub\r\n");

        trawlex::window::ResultList list(0);
        list.SetFirstHeader(QStringLiteral("ﾓｼﾞｭｰﾙ名"));
        list.AddRow({"Form1", 2, "A", "Public", "あいうえ"});
        list.AddRow({"Missing", 1, "", "", "x"});
        list.ColumnClick(0);  // "▼ﾓｼﾞｭｰﾙ名" still names module hits
        QCOMPARE(list.CellText(1, 0), QStringLiteral("Form1"));
        list.SelectRow(1);
        std::string editorTemplate = "unchanged";
        JumpToResult(list, &host, editorTemplate, nullptr);

        auto pane = host.activePane();
        QVERIFY(pane);
        QCOMPARE(pane->component()->name(), std::string("Form1"));
        QCOMPARE(pane->selection(), (Selection{2, 1, 2, 9}));  // four double-byte characters
        QCOMPARE(pane->focusCount(), 1);
        QCOMPARE(editorTemplate, std::string("unchanged"));

        // A module that is not in the active project opens nothing.
        list.SelectRow(0);
        JumpToResult(list, &host, editorTemplate, nullptr);
        QCOMPARE(pane->focusCount(), 1);
        QCOMPARE(host.openPanes().size(), std::size_t(1));
    }

    void moduleHitFailuresOpenNothing() {
        using trawlex::window::JumpToModuleLine;
        FakeHost host;
        QVERIFY(!JumpToModuleLine(host, "Module1", 1));  // no project
        auto project = host.AddProject("Project1");
        project->AddModule("Module1", "Dim x\r\n");
        project->AddComponentWithoutCode("Resource1");
        QVERIFY(!JumpToModuleLine(host, "Resource1", 1));
        QVERIFY(!JumpToModuleLine(host, "Module1", 5));  // beyond the module's end
        QVERIFY(!JumpToModuleLine(host, "module1", 1));  // names compare exactly
        QVERIFY(JumpToModuleLine(host, "Module1", 1));
        QCOMPARE(host.activePane()->selection(), (Selection{1, 1, 1, 6}));

        // Nothing selected: nothing happens.
        trawlex::window::ResultList list(0);
        list.AddRow({"Module1", 1, "", "", "Dim x"});
        std::string editorTemplate;
        JumpToResult(list, &host, editorTemplate, nullptr);
        QVERIFY(editorTemplate.empty());
    }

  private:
    QTemporaryDir root_;
};

QTEST_MAIN(JumpToResultTest)
#include "jump_to_result_test.moc"
