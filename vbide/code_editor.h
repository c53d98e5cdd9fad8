#pragma once
// The text widget of a code pane: plain text, no wrapping, a fixed-pitch font that also
// draws Japanese.

#include <QPlainTextEdit>

namespace trawlex::vbide {

class CodeEditor : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit CodeEditor(QTextDocument* document, QWidget* parent = nullptr);
};

}  // namespace trawlex::vbide
