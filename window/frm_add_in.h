#pragma once
// frmAddIn: the search window. Search controls on top, nine result tabs with one list each,
// and a status line. Closing only hides it, so its tabs and rows live as long as it does.

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "host/module_search.h"
#include "search/match_engine.h"
#include "search/vb_code_regions.h"
#include "window/search_window_state.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace trawlex::host {
class HostApp;
}

namespace trawlex::window {

class ListExtras;
class ResultList;

inline constexpr int kTabCount = 9;
inline constexpr int kModeCount = 5;

class frmAddIn : public QWidget {
    Q_OBJECT
  public:
    // `host` may be null (no host editor): the module areas then find nothing to search.
    // The window works with `shared`, which outlives it.
    frmAddIn(host::HostApp* host, SearchWindowState& shared, QWidget* parent = nullptr);
    // A window on a state of its own, starting with `currentFolder`.
    explicit frmAddIn(host::HostApp* host, const QString& currentFolder = {},
                      QWidget* parent = nullptr);
    ~frmAddIn() override;

    // Public operations.
    // Reloads the history, takes the selection of the active code pane as the search
    // string and searches for it (on the next tab when the current one holds rows). During a
    // search it only stops that search, leaving its text and tab alone.
    void Search();
    // Applies the result font from the settings to the nine lists.
    void SetFont();

    // Handlers.
    void cmdSearchStart_Click();
    void CancelButton_Click();
    void cmbSearchArea_Click();
    void tabPane_Click(int index);
    void cmdChangeFolder_Click();

    // Ends the window's life: at once when idle, otherwise the running search is stopped and
    // the window is deleted once it has finished (it is still on that search's call stack).
    void Release();
    bool ReleasePending() const { return releasePending_; }

    // Window state shared with the run and the side tools.
    int CurrentTab() const { return currentTab_; }
    ResultList& List(int index) const { return *lvwGrep[index]; }
    ResultList& CurrentList() const { return List(currentTab_); }
    QList<ResultList*> Lists() const;
    bool StopRequested() const { return stopRequested_; }
    void SetStopRequested(bool stop) { stopRequested_ = stop; }
    bool IsSearching() const { return searching_; }
    QString StatusText() const;
    void SetStatusText(const QString& text);
    SearchArea CurrentArea() const;
    QString ExtList() const { return extList_; }
    void SetExtList(const QString& extList) { extList_ = extList; }
    QString CurrentFolder() const { return shared_.currentFolder; }
    // Changes CurrentFolder only; the folder box keeps what it shows.
    void SetCurrentFolder(const QString& folder) { shared_.currentFolder = folder; }
    std::string& EditorTemplate() { return shared_.editorTemplate; }
    void SetEditorTemplate(std::string editorTemplate) {
        shared_.editorTemplate = std::move(editorTemplate);
    }
    TabStateStore& TabStates() { return shared_.tabStates; }
    host::HostApp* Host() const { return host_; }
    MatchEngine& Engine() { return engine_; }

    // The run pumps the event loop at most this often (milliseconds) while it scans. With 0
    // it pumps before every line, and so searches line by line.
    int YieldIntervalMs() const { return yieldIntervalMs_; }
    void SetYieldIntervalMs(int milliseconds) { yieldIntervalMs_ = milliseconds; }
    // Nothing can change the options, the stop flag or the current tab between two pumps, so
    // with an interval above 0 the run looks at them (and may pump) only before each stretch
    // of text of at least this many bytes, ending at a line end (ScanHost::SteadyStretch).
    static constexpr std::size_t kScanStretchBytes = 256 * 1024;
    std::size_t ScanStretchBytes() const { return scanStretchBytes_; }
    void SetScanStretchBytes(std::size_t bytes) { scanStretchBytes_ = bytes; }
    // Called wherever the run may pump the event loop, just before: before every line with
    // an interval of 0, else before each stretch.
    using YieldHook = std::function<void()>;
    const YieldHook& OnYield() const { return yieldHook_; }
    void SetOnYield(YieldHook hook) { yieldHook_ = std::move(hook); }

    // Controls, named as their objectNames. Arrays keep one name and carry their element
    // number in the dynamic property "index".
    QLabel* Label1 = nullptr;
    QComboBox* txtSearchStr = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbSearchArea = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtFilepath = nullptr;
    QPushButton* cmdChangeFolder = nullptr;
    QCheckBox* chkSubFolders = nullptr;
    std::array<QRadioButton*, kModeCount> optSearch{};
    QCheckBox* chkCase = nullptr;
    QPushButton* cmdSearchStart = nullptr;
    QPushButton* CancelButton = nullptr;
    QFrame* picPane = nullptr;
    std::array<QPushButton*, kTabCount> tabPane{};
    std::array<ResultList*, kTabCount> lvwGrep{};
    QStatusBar* stbSelected = nullptr;
    // Beside the status line: counts, where a match must lie, the filter over the list.
    QLabel* lblCounts = nullptr;
    QComboBox* cmbMatchPlace = nullptr;
    QLineEdit* edtRowFilter = nullptr;
    RegionSet WantedRegions() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    frmAddIn(host::HostApp* host, std::unique_ptr<SearchWindowState>&& own,
             SearchWindowState* shared, QWidget* parent);
    void CreateControls();
    void ConnectControls();
    void Form_Load();
    void LayOutLists();
    void ApplyMinimumWidth();
    void SelectTab(int index);
    void ApplyNewTabScope();
    void ShowCurrentList();
    void SelectRowOfLine(int line);

    host::HostApp* host_;
    std::unique_ptr<SearchWindowState> ownState_;  // only without a shared one
    SearchWindowState& shared_;
    QString extList_;
    MatchEngine engine_;
    QFont windowFont_;
    QButtonGroup* optSearchGroup_ = nullptr;
    QButtonGroup* tabPaneGroup_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    ListExtras* extras_ = nullptr;
    int currentTab_ = 0;
    bool stopRequested_ = false;
    bool searching_ = false;
    bool releasePending_ = false;
    int yieldIntervalMs_ = 15;
    std::size_t scanStretchBytes_ = kScanStretchBytes;
    YieldHook yieldHook_;
};

}  // namespace trawlex::window
