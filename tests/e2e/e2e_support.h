#pragma once
// What the end-to-end tests share: a fresh machine root, registration of the built add-in,
// and ways to reach the add-in's widgets and the editor's panes as a user would see them.

#include <QAction>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>

class QTreeView;
class QWidget;

namespace trawlex::vbide {
class IdeCodePane;
class IdeWindow;
}  // namespace trawlex::vbide

namespace e2e {

inline constexpr const char* kProgId = "Trawlex.Connect";
inline constexpr const char* kSearchCaption = "Trawlex Plus";
inline constexpr const char* kOptionsCaption = "Trawlex Plusの ｵﾌﾟｼｮﾝ";

// TRAWLEX_ROOT and HOME point into a temporary folder for the object's life.
class ScopedMachine {
  public:
    ScopedMachine();
    ~ScopedMachine();
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    QByteArray previousRoot_;
    QByteArray previousHome_;
};

// Runs a program to its end; its exit code, or -1 when it did not start or finish.
// Standard output and error are kept in `output`.
int RunProgram(const QString& program, const QStringList& args, QString* output = nullptr);

// The built regsvr32 on the built trawlex.dll.
bool RegisterWithRegsvr32();

// Captions of a bar's controls, in order.
QStringList BarCaptions(trawlex::vbide::IdeWindow& ide, const char* bar);
// The control of a bar with that caption, or nullptr.
QAction* BarAction(trawlex::vbide::IdeWindow& ide, const char* bar, const QString& caption);

// The add-in's search window (a top-level widget of the library), or nullptr.
QWidget* SearchWindow();
int SearchWindowCount();
// Runs the event loop until the search window shows its start button again (its search has
// ended) or is gone; false when it did not within a few seconds.
bool WaitForSearchEnd();
// The result list `lvwGrep`(index) and the checked `tabPane` button's index.
QTreeView* ResultView(QWidget* searchWindow, int index);
int CheckedTab(QWidget* searchWindow);
// Cell text of a result list: columns 0 module, 1 line, 2 procedure, 3 scope, 4 line text.
QString Cell(QTreeView* view, int row, int column);
int SelectedRow(QTreeView* view);

// Opens the component's code pane and makes it the active one.
std::shared_ptr<trawlex::vbide::IdeCodePane> ShowModule(trawlex::vbide::IdeWindow& ide,
                                                        const std::string& name);
// The 1-based line of the pane's text that contains `text`, or 0.
int LineContaining(trawlex::vbide::IdeCodePane& pane, const QString& text);
// Selects `text` in line `line` of the pane's editor, as a drag with the mouse would.
bool SelectInLine(trawlex::vbide::IdeCodePane& pane, int line, const QString& text);

// The bytes of the first line of a sample file that contains `ascii`, without its CR LF.
QByteArray SampleLineBytes(const QString& fileName, const QByteArray& ascii);

}  // namespace e2e
