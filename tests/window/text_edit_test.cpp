// The byte-string edits the search run, the jump to an editor and the external grep share.

#include "window/text_edit.h"

#include <QtTest>
#include <string>

using trawlex::window::ReplaceAll;
using trawlex::window::TrimSpaces;

class TextEditTest : public QObject {
    Q_OBJECT
  private slots:
    void trimsOnlySpaces() {
        QCOMPARE(TrimSpaces("  検索 語  "), std::string("検索 語"));
        QCOMPARE(TrimSpaces("\tx "), std::string("\tx"));
        QCOMPARE(TrimSpaces(" x\r\n"), std::string("x\r\n"));
        QCOMPARE(TrimSpaces("   "), std::string());
        QCOMPARE(TrimSpaces(""), std::string());
    }

    void replacesEveryOccurrenceOnce() {
        std::string text = "%p and %p";
        ReplaceAll(text, "%p", "a %p b");
        QCOMPARE(text, std::string("a %p b and a %p b"));

        // Removing: text that comes together after a removal is not removed again.
        text = "/j/j%l%l \"%p\"";
        ReplaceAll(text, "/j%l", "");
        QCOMPARE(text, std::string("/j%l \"%p\""));

        text = "abc";
        ReplaceAll(text, "", "x");
        QCOMPARE(text, std::string("abc"));
    }
};

QTEST_MAIN(TextEditTest)
#include "text_edit_test.moc"
