// The hand-off to the external editor's grep: option letters, the command line built from
// the editor template, and starting it without a shell.

#include "window/external_grep.h"

#include <QTemporaryDir>
#include <QTest>

#include "recording_program.h"

using trawlex::window::BuildHidemaruCommandLine;
using trawlex::window::HidemaruGrep;
using trawlex::window::HidemaruGrepOptions;

class ExternalGrepTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        qputenv("TRAWLEX_ROOT", root_.path().toUtf8());
    }

    void optionLetters() {
        QCOMPARE(HidemaruGrepOptions(false, false), std::string("CwrUO"));
        QCOMPARE(HidemaruGrepOptions(true, true), std::string("cwruO"));
        QCOMPARE(HidemaruGrepOptions(true, false), std::string("cwrUO"));
        QCOMPARE(HidemaruGrepOptions(false, true), std::string("CwruO"));
    }

    void commandLineFromTheTemplate() {
        const std::string hidemaru = "\"C:\\Program Files\\Hidemaru\\hidemaru.exe\" /j%l \"%p\"";
        QCOMPARE(
            BuildHidemaruCommandLine(hidemaru, "D:\\src\\", "Foo", false, false),
            std::string(
                "\"C:\\Program Files\\Hidemaru\\hidemaru.exe\"  \"\"/gCwrUO,\"D:\\src\\*\",Foo"));
        // Every place holder goes, wherever it is; the search string is not quoted.
        QCOMPARE(BuildHidemaruCommandLine("hm %p/j%l%p ", "/src/", "a \"b\" c", true, true),
                 std::string("hm  /gcwruO,\"/src/*\",a \"b\" c"));
        // Another editor's template is used the same way; one without place holders whole.
        QCOMPARE(BuildHidemaruCommandLine("notepad \"%p\"", "/s/", "x", false, true),
                 std::string("notepad \"\"/gCwruO,\"/s/*\",x"));
        QCOMPARE(BuildHidemaruCommandLine("editor", "/s/", "x", false, false),
                 std::string("editor/gCwrUO,\"/s/*\",x"));
        // "%l" alone and "%P" are not place holders of the hand-off.
        QCOMPARE(BuildHidemaruCommandLine("ed -n%l %P", "/s/", "x", false, false),
                 std::string("ed -n%l %P/gCwrUO,\"/s/*\",x"));
    }

    void startsTheProgramWithoutAShell() {
        trawlex::testing::RecordingProgram hidemaru(QStringLiteral("hidemaru"));
        const QString status =
            HidemaruGrep("hidemaru /j%l \"%p\"", "/src dir/", "Foo;$(touch x)", false, true);
        QCOMPARE(status, QStringLiteral("成功 - 秀丸起動"));
        QTRY_VERIFY(hidemaru.Ran());
        // The quotes of the line group "/src dir/*" into the switch argument.
        QCOMPARE(hidemaru.Arguments(), QStringList({"/gCwruO,/src dir/*,Foo;$(touch", "x)"}));
    }

    void reportsAProgramThatCannotStart() {
        QCOMPARE(HidemaruGrep("no-such-editor-here /j%l \"%p\"", "/s/", "x", false, false),
                 QStringLiteral("失敗 - 秀丸起動"));
        QCOMPARE(HidemaruGrep("", "/s/", "x", false, false), QStringLiteral("失敗 - 秀丸起動"));
    }

  private:
    QTemporaryDir root_;
};

QTEST_MAIN(ExternalGrepTest)
#include "external_grep_test.moc"
