#include "e2e_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QTreeView>

#include "vbide/ide_code_pane.h"
#include "vbide/ide_command_bars.h"
#include "vbide/ide_window.h"
#include "vbide/ide_workspace.h"

namespace e2e {

using trawlex::vbide::IdeCodePane;
using trawlex::vbide::IdeWindow;

ScopedMachine::ScopedMachine()
    : previousRoot_(qgetenv("TRAWLEX_ROOT")), previousHome_(qgetenv("HOME")) {
    qputenv("TRAWLEX_ROOT", dir_.path().toLocal8Bit());
    qputenv("HOME", dir_.path().toLocal8Bit());
}

ScopedMachine::~ScopedMachine() {
    qputenv("TRAWLEX_ROOT", previousRoot_);
    if (previousRoot_.isEmpty()) qunsetenv("TRAWLEX_ROOT");
    qputenv("HOME", previousHome_);
}

int RunProgram(const QString& program, const QStringList& args, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    if (output) *output = QString::fromUtf8(process.readAll());
    return process.exitCode();
}

bool RegisterWithRegsvr32() {
    return RunProgram(TRAWLEX_REGSVR32, {"/S", TRAWLEX_DLL}) == 0;
}

namespace {

QList<QAction*> BarActions(IdeWindow& ide, const char* bar) {
    QWidget* widget = ide.Bars().BarWidget(bar);
    return widget ? widget->actions() : QList<QAction*>();
}

}  // namespace

QStringList BarCaptions(IdeWindow& ide, const char* bar) {
    QStringList captions;
    for (QAction* action : BarActions(ide, bar)) captions << action->text();
    return captions;
}

QAction* BarAction(IdeWindow& ide, const char* bar, const QString& caption) {
    for (QAction* action : BarActions(ide, bar)) {
        if (action->text() == caption) return action;
    }
    return nullptr;
}

QWidget* SearchWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmAddIn")) return widget;
    }
    return nullptr;
}

bool WaitForSearchEnd() {
    QPointer<QWidget> window = SearchWindow();
    const auto ended = [&] {
        auto* start = window ? window->findChild<QWidget*>("cmdSearchStart") : nullptr;
        return !start || !start->isHidden();
    };
    return ended() || QTest::qWaitFor(ended);
}

int SearchWindowCount() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmAddIn")) ++count;
    }
    return count;
}

QTreeView* ResultView(QWidget* searchWindow, int index) {
    if (!searchWindow) return nullptr;
    for (QTreeView* view : searchWindow->findChildren<QTreeView*>("lvwGrep")) {
        if (view->property("index").toInt() == index) return view;
    }
    return nullptr;
}

int CheckedTab(QWidget* searchWindow) {
    if (!searchWindow) return -1;
    for (QAbstractButton* tab : searchWindow->findChildren<QAbstractButton*>("tabPane")) {
        if (tab->isChecked()) return tab->property("index").toInt();
    }
    return -1;
}

QString Cell(QTreeView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

int SelectedRow(QTreeView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
}

std::shared_ptr<IdeCodePane> ShowModule(IdeWindow& ide, const std::string& name) {
    for (const auto& project : ide.Workspace().Projects()) {
        for (const auto& component : project->Components()) {
            if (component->Name().value() != name) continue;
            auto pane = ide.Workspace().PaneFor(*component);
            if (!pane || !ide.Workspace().ShowPane(*pane)) return nullptr;
            return pane;
        }
    }
    return nullptr;
}

int LineContaining(IdeCodePane& pane, const QString& text) {
    for (QTextBlock block = pane.Editor()->document()->begin(); block.isValid();
         block = block.next()) {
        if (block.text().contains(text)) return block.blockNumber() + 1;
    }
    return 0;
}

bool SelectInLine(IdeCodePane& pane, int line, const QString& text) {
    const QTextBlock block = pane.Editor()->document()->findBlockByNumber(line - 1);
    const int column = block.isValid() ? block.text().indexOf(text) : -1;
    if (column < 0) return false;
    QTextCursor cursor(pane.Editor()->document());
    cursor.setPosition(block.position() + column);
    cursor.setPosition(block.position() + column + text.size(), QTextCursor::KeepAnchor);
    pane.Editor()->setTextCursor(cursor);
    return true;
}

QByteArray SampleLineBytes(const QString& fileName, const QByteArray& ascii) {
    QFile file(QDir(TRAWLEX_SAMPLES_DIR).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.contains(ascii)) return line.endsWith('\r') ? line.chopped(1) : line;
    }
    return {};
}

}  // namespace e2e
