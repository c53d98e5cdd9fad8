#include "window/frm_add_in.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "host/host_app.h"
#include "platform/ansi_columns.h"
#include "window/control_layout.h"
#include "window/control_settings.h"
#include "window/excel_export.h"
#include "window/folder_picker.h"
#include "window/jump_to_result.h"
#include "window/list_extras.h"
#include "window/new_tab_scope.h"
#include "window/result_font.h"
#include "window/result_list.h"
#include "window/search_history.h"
#include "window/search_run.h"
#include "window/twips.h"

namespace trawlex::window {

namespace {

constexpr int kClientWidthTwips = 8655;
constexpr int kClientHeightTwips = 6240;
constexpr int kMinimumOuterWidthTwips = 8775;
constexpr int kTabSpacingTwips = 960;
constexpr int kHistoryDropDownItems = 32;

const char* const kAreaItems[] = {
    "プロシージャ (local)", "モジュール (Private)",   "プロジェクト (Public)",
    "表示中のモジュール",   "ファイル（拡張子選択）", "ファイル（全て）",
};

const char* const kModeCaptions[kModeCount] = {
    "通常検索", "ﾜｲﾙﾄﾞｶｰﾄﾞ", "正規表現", "単語検索", "秀丸のGrep",
};

const char* const kTabCaptions[kTabCount] = {
    "検索１", "検索２", "検索３", "検索４", "検索５", "検索６", "検索７", "検索８", "検索９",
};

constexpr TwipsBox kOptSearchBoxes[kModeCount] = {
    {5280, 0, 1335, 225},   {5280, 225, 1335, 225}, {5280, 450, 1335, 225},
    {6360, 450, 1335, 225}, {7440, 450, 1215, 225},
};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::unique_ptr<SearchWindowState> StateWithFolder(const QString& currentFolder) {
    auto state = std::make_unique<SearchWindowState>();
    state->currentFolder = currentFolder;
    return state;
}

}  // namespace

frmAddIn::frmAddIn(host::HostApp* host, const QString& currentFolder, QWidget* parent)
    : frmAddIn(host, StateWithFolder(currentFolder), nullptr, parent) {}

frmAddIn::frmAddIn(host::HostApp* host, SearchWindowState& shared, QWidget* parent)
    : frmAddIn(host, nullptr, &shared, parent) {}

frmAddIn::frmAddIn(host::HostApp* host, std::unique_ptr<SearchWindowState>&& own,
                   SearchWindowState* shared, QWidget* parent)
    : QWidget(parent),
      host_(host),
      ownState_(std::move(own)),
      shared_(shared ? *shared : *ownState_),
      windowFont_(DesignFont()) {
    setObjectName(QStringLiteral("frmAddIn"));
    sliceTimer_ = new QTimer(this);
    sliceTimer_->setInterval(0);
    connect(sliceTimer_, &QTimer::timeout, this, [this] { RunSearchSlice(); });
    setWindowTitle(QStringLiteral("Trawlex Plus"));
    setFont(windowFont_);
    CreateControls();
    ConnectControls();
    resize(TwipsToPixelsX(*this, kClientWidthTwips), TwipsToPixelsY(*this, kClientHeightTwips));
    ApplyMinimumWidth();
    LayOutLists();
    Form_Load();
}

frmAddIn::~frmAddIn() {
    // The run's scan still reads the controls while it stops.
    CancelButton_Click();
}

void frmAddIn::CreateControls() {
    Label1 = Named(new QLabel(Text("検索文字列"), this), "Label1");
    PlaceCaptioned(*Label1, *this, {120, 45, 900, 180});

    txtSearchStr = Named(new QComboBox(this), "txtSearchStr");
    txtSearchStr->setEditable(true);
    txtSearchStr->setInsertPolicy(QComboBox::NoInsert);
    // What the user types is what is searched: no completion from the history.
    txtSearchStr->setCompleter(nullptr);
    Place(*txtSearchStr, *this, {1080, 0, 3975, 300});

    Label2 = Named(new QLabel(Text("検索の対象"), this), "Label2");
    PlaceCaptioned(*Label2, *this, {120, 375, 870, 180});

    cmbSearchArea = Named(new QComboBox(this), "cmbSearchArea");
    for (const char* item : kAreaItems) cmbSearchArea->addItem(Text(item));
    PlaceCaptioned(*cmbSearchArea, *this, {1080, 330, 1935, 300});

    chkCase = Named(new QCheckBox(Text("バイナリモード検索"), this), "chkCase");
    chkCase->setToolTip(
        Text("バイナリモード検索では、「英字の大文字・小文字」、\r\n「半角と全角」、「ひらがなと"
             "カタカナ」を区別します。"));
    PlaceCaptioned(*chkCase, *this, {3120, 270, 1935, 465});
    // The area box may have taken a few pixels more than designed: keep the design gap.
    const int areaGap = TwipsToPixelsX(*this, 105);
    if (cmbSearchArea->geometry().right() + areaGap >= chkCase->x()) {
        chkCase->move(cmbSearchArea->geometry().right() + 1 + areaGap, chkCase->y());
    }

    Label3 = Named(new QLabel(Text("フォルダ指定"), this), "Label3");
    PlaceCaptioned(*Label3, *this, {120, 705, 885, 180});

    txtFilepath = Named(new QLineEdit(this), "txtFilepath");
    Place(*txtFilepath, *this, {1080, 660, 3975, 270});

    cmdChangeFolder = Named(new QPushButton(Text("フォルダ変更"), this), "cmdChangeFolder");
    Place(*cmdChangeFolder, *this, {5160, 675, 1500, 255});

    optSearchGroup_ = new QButtonGroup(this);
    for (int i = 0; i < kModeCount; ++i) {
        optSearch[i] = Named(new QRadioButton(Text(kModeCaptions[i]), this), "optSearch", i);
        PlaceCaptioned(*optSearch[i], *this, kOptSearchBoxes[i]);
        optSearchGroup_->addButton(optSearch[i], i);
    }
    optSearch[0]->setChecked(true);

    cmdSearchStart = Named(new QPushButton(Text("検索開始！"), this), "cmdSearchStart");
    Place(*cmdSearchStart, *this, {6840, 0, 1740, 345});
    CancelButton = Named(new QPushButton(Text("検索中断"), this), "CancelButton");
    Place(*CancelButton, *this, {6840, 0, 1740, 345});

    chkSubFolders = Named(new QCheckBox(Text("サブフォルダも検索"), this), "chkSubFolders");
    PlaceCaptioned(*chkSubFolders, *this, {6840, 720, 1800, 225});

    picPane = Named(new QFrame(this), "picPane");
    Place(*picPane, *this, {0, 945, kClientWidthTwips, 255});
    tabPaneGroup_ = new QButtonGroup(this);
    for (int i = 0; i < kTabCount; ++i) {
        tabPane[i] = Named(new QPushButton(Text(kTabCaptions[i]), picPane), "tabPane", i);
        tabPane[i]->setCheckable(true);
        tabPane[i]->setFocusPolicy(Qt::NoFocus);
        Place(*tabPane[i], *this, {kTabSpacingTwips * i, 0, 975, 255});
        tabPaneGroup_->addButton(tabPane[i], i);
    }
    tabPane[0]->setChecked(true);

    for (int i = 0; i < kTabCount; ++i) {
        lvwGrep[i] = Named(new ResultList(i, this), "lvwGrep", i);
        Place(*lvwGrep[i], *this, {-30, i == 0 ? 1215 : 1200, 8700, 4695});
    }

    stbSelected = Named(new QStatusBar(this), "stbSelected");
    stbSelected->setSizeGripEnabled(false);
    statusLabel_ = new QLabel(stbSelected);
    stbSelected->addWidget(statusLabel_, 1);
    Place(*stbSelected, *this, {0, 5910, kClientWidthTwips, 330});
    extras_ = new ListExtras(*this);
    lblCounts = extras_->Counts();
    cmbMatchPlace = extras_->MatchPlace();
    edtRowFilter = extras_->RowFilter();
}

RegionSet frmAddIn::WantedRegions() const {
    return RegionsOfMatchPlace(cmbMatchPlace->currentIndex());
}

void frmAddIn::ConnectControls() {
    connect(cmdSearchStart, &QPushButton::clicked, this, [this] { cmdSearchStart_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    connect(cmdChangeFolder, &QPushButton::clicked, this, [this] { cmdChangeFolder_Click(); });
    connect(cmbSearchArea, &QComboBox::currentIndexChanged, this,
            [this] { cmbSearchArea_Click(); });
    connect(tabPaneGroup_, &QButtonGroup::idClicked, this, [this](int id) { tabPane_Click(id); });
    for (ResultList* list : lvwGrep) {
        connect(list, &ResultList::JumpRequested, this, [this](int index) {
            JumpToResult(List(index), host_, shared_.editorTemplate, this);
        });
        connect(list, &ResultList::RowClicked, this,
                [this](const QString& content) { SetStatusText(content); });
        connect(list, &ResultList::ExportRequested, this,
                [this](int) { ExportToExcel(CurrentList(), currentTab_, this); });
    }
    // Enter in the search boxes starts a search and Esc anywhere closes the window.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void frmAddIn::Form_Load() {
    SetFont();
    cmbSearchArea->setCurrentIndex(0);
    cmbSearchArea_Click();
    LoadControlSettings(*this);
    // Stored values may select the Hidemaru mode for an area that does not allow it.
    cmbSearchArea_Click();
    txtFilepath->setText(shared_.currentFolder);
    CancelButton->setVisible(false);
    ShowCurrentList();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    raise();
    txtSearchStr->setFocus();
}

QList<ResultList*> frmAddIn::Lists() const {
    return QList<ResultList*>(lvwGrep.begin(), lvwGrep.end());
}

QString frmAddIn::StatusText() const {
    return statusLabel_->text();
}

void frmAddIn::SetStatusText(const QString& text) {
    statusLabel_->setText(text);
}

SearchArea frmAddIn::CurrentArea() const {
    const int index = cmbSearchArea->currentIndex();
    if (index < 0 || index > static_cast<int>(SearchArea::FilesAll)) return SearchArea::None;
    return static_cast<SearchArea>(index);
}

void frmAddIn::SetFont() {
    window::SetFont(windowFont_, host_, Lists());
}

void frmAddIn::cmdSearchStart_Click() {
    // One run at a time: Enter pressed while one runs (or while its extension dialog is
    // open) starts none.
    if (run_) return;
    run_ = std::make_unique<SearchRun>(*this);
    if (run_->Start()) {
        SearchEnded();
        return;
    }
    sliceTimer_->start();
}

void frmAddIn::RunSearchSlice() {
    if (!run_->RunSlice()) return;
    sliceTimer_->stop();
    SearchEnded();
}

void frmAddIn::EndSearchNow() {
    // Inside a slice (a hook of the run) the slice itself ends the run.
    if (!run_ || run_->InSlice()) return;
    sliceTimer_->stop();
    run_->EndNow();
    SearchEnded();
}

void frmAddIn::SearchEnded() {
    run_.reset();
    if (const int line = std::exchange(lineToSelect_, 0); line > 0) SelectRowOfLine(line);
    emit SearchFinished();
}

void frmAddIn::Release() {
    delete this;
}

void frmAddIn::CancelButton_Click() {
    stopRequested_ = true;
    CancelButton->setEnabled(false);
    EndSearchNow();
}

void frmAddIn::cmbSearchArea_Click() {
    const int index = cmbSearchArea->currentIndex();
    const bool folderArea = index > static_cast<int>(SearchArea::OpenModules);
    txtFilepath->setEnabled(folderArea);
    cmdChangeFolder->setEnabled(folderArea);
    chkSubFolders->setEnabled(folderArea);
    QRadioButton* hidemaru = optSearch[static_cast<int>(SearchMode::Hidemaru)];
    hidemaru->setEnabled(index == static_cast<int>(SearchArea::FilesAll));
    if (!hidemaru->isEnabled() && hidemaru->isChecked()) optSearch[0]->setChecked(true);
}

void frmAddIn::tabPane_Click(int index) {
    if (index < 0 || index >= kTabCount) return;
    currentTab_ = index;
    tabPane[index]->setChecked(true);
    if (CurrentList().RowCount() > 0) {
        LoadTabState(*this, currentTab_, shared_.tabStates);
    } else {
        ApplyNewTabScope();
        txtSearchStr->setEditText(QString());
    }
    ShowCurrentList();
}

void frmAddIn::ApplyNewTabScope() {
    const QString stored = ReadSetting(QStringLiteral("NewTabScope"),
                                       QString::number(static_cast<int>(kDefaultNewTabScope)));
    const SearchArea current = CurrentArea();
    const SearchArea area = AreaForNewTab(ParseNewTabScope(stored), current);
    if (area != current) cmbSearchArea->setCurrentIndex(static_cast<int>(area));
}

void frmAddIn::ShowCurrentList() {
    for (int i = 0; i < kTabCount; ++i) lvwGrep[i]->setVisible(i == currentTab_);
    CurrentList().raise();
    extras_->CurrentTabChanged();
}

void frmAddIn::SelectTab(int index) {
    tabPane[index]->setChecked(true);
    tabPane_Click(index);
}

void frmAddIn::cmdChangeFolder_Click() {
    shared_.currentFolder = ChangeFolder(this, shared_.currentFolder);
    txtFilepath->setText(shared_.currentFolder);
}

void frmAddIn::Search() {
    // A running search reads the text and the tab while it scans: changing them under it
    // would mix two searches. The request stops it instead; the user asks again.
    if (run_) {
        CancelButton_Click();
        return;
    }
    LoadHistory(*txtSearchStr);
    txtSearchStr->setMaxVisibleItems(kHistoryDropDownItems);
    if (!host_) return;
    auto pane = host_->ActiveCodePane();
    if (!pane || !*pane) return;
    auto selection = (*pane)->GetSelection();
    if (!selection) return;
    if (selection->startLine != selection->endLine ||
        selection->startColumn == selection->endColumn) {
        tabPane_Click(currentTab_);
        return;
    }
    auto module = (*pane)->CodeModule();
    if (!module || !*module) return;
    auto line = (*module)->Lines(selection->startLine, 1);
    if (!line) return;
    const int first = std::min(selection->startColumn, selection->endColumn);
    const int bytes = std::abs(selection->endColumn - selection->startColumn);
    const QString selected = QString::fromStdString(platform::AnsiSubstring(*line, first, bytes));
    raise();
    activateWindow();
    if (CurrentList().RowCount() > 0) SelectTab((currentTab_ + 1) % kTabCount);
    txtSearchStr->setEditText(selected);
    txtSearchStr->lineEdit()->selectAll();
    optSearch[static_cast<int>(SearchMode::Normal)]->setChecked(true);
    lineToSelect_ = selection->startLine;
    cmdSearchStart_Click();
}

void frmAddIn::SelectRowOfLine(int line) {
    ResultList& list = CurrentList();
    for (int row = 0; row < list.ShownRowCount(); ++row) {
        if (list.Row(row).line == line) {
            list.SelectRow(row);
            return;
        }
    }
}

void frmAddIn::closeEvent(QCloseEvent* event) {
    hide();
    // A closed window's run ends at once: what it searches may go with the window.
    CancelButton_Click();
    event->ignore();
}

void frmAddIn::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmAddIn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        close();
        return true;
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool searchBox =
        widget == txtSearchStr || widget->parent() == txtSearchStr || widget == cmbSearchArea;
    if (enter && searchBox) {
        cmdSearchStart_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmAddIn::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ApplyMinimumWidth();
}

void frmAddIn::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyMinimumWidth();
    LayOutLists();
}

void frmAddIn::ApplyMinimumWidth() {
    const int frame = isWindow() && isVisible() ? frameGeometry().width() - width() : 0;
    const int minimum = TwipsToPixelsX(*this, kMinimumOuterWidthTwips) - frame;
    if (minimumWidth() != minimum) setMinimumWidth(minimum);
    if (width() < minimum) resize(minimum, height());
}

void frmAddIn::LayOutLists() {
    const int statusHeight = stbSelected->height();
    stbSelected->setGeometry(0, height() - statusHeight, width(), statusHeight);
    picPane->resize(width(), picPane->height());
    for (ResultList* list : lvwGrep) {
        const int listHeight = height() - list->y() - statusHeight;
        if (listHeight < 0) return;
        list->setGeometry(list->x(), list->y(), width() - 2 * list->x(), listHeight);
    }
}

}  // namespace trawlex::window
