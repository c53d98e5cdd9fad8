#include "vbide/code_editor.h"

#include <QFontDatabase>

namespace trawlex::vbide {

CodeEditor::CodeEditor(QTextDocument* document, QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName("CodeEditor");
    setDocument(document);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"MS Gothic", "Noto Sans Mono CJK JP", "IPAGothic", font.family()});
    font.setPointSize(10);
    setFont(font);
    setTabStopDistance(fontMetrics().horizontalAdvance(QChar(' ')) * 4);
}

}  // namespace trawlex::vbide
