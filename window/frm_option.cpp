#include "window/frm_option.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>

#include "host/space_cleanup.h"
#include "platform/shell.h"
#include "window/control_layout.h"
#include "window/control_settings.h"
#include "window/excel_export.h"
#include "window/file_encoding_setting.h"
#include "window/frm_add_in.h"
#include "window/message_box.h"
#include "window/twips.h"

namespace trawlex::window {

namespace {

constexpr int kClientWidthTwips = 8265;
constexpr int kClientHeightTwips = 2985;
constexpr int kFrameHeightTwips = 1545;

const char* const kCaption = "Trawlex Plus の ｵﾌﾟｼｮﾝ";
const char* const kProgramDialogTitle = "テキストエディタの選択";
const char* const kProgramFilter = "テキストエディタ(*.exe)";

const char* const kEditorPresets[kEditorPresetCount] = {"（エディタを選択）", "秀丸を検索",
                                                        "JMEditorを検索", "Terapadを検索"};

struct EditorPreset {
    const char* subPath;  // under %ProgramFiles%, "" for the folder itself
    const char* tail;     // closes the program's quote and adds the arguments
};
constexpr EditorPreset kPresetDetails[kEditorPresetCount] = {
    {"", ""},
    {"/Hidemaru/hidemaru.exe", "\" /j%l \"%p\""},
    {"", "\" \"%p\" /%l"},
    {"/TeraPad/TeraPad.exe", "\" /jl=%l \"%p\""},
};

const char* const kScopeItems[] = {"常にLocal",      "常にPrivate",     "常にPublic",
                                   "LocalかPrivate", "ファイル→Public", "前回検索を継承"};
const char* const kFontOptions[kFontOptionCount] = {"気にしない", "ｴﾃﾞｨﾀの設定に合わせる",
                                                    "以下のフォントを使用"};
const char* const kFontSizes[] = {"6",  "8",  "9",  "10", "11", "12", "14", "16", "18",
                                  "20", "22", "24", "26", "28", "36", "48", "72"};
const char* const kTabNames[kTabCount] = {"検索１", "検索２", "検索３", "検索４", "検索５",
                                          "検索６", "検索７", "検索８", "検索９"};

constexpr TwipsBox kOptFontBoxes[kFontOptionCount] = {
    {120, 240, 1335, 240}, {120, 535, 2655, 240}, {120, 840, 2655, 240}};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Folders, "*.exe" and executable files: the programs of this platform have no ".exe".
class ProgramFilter : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files) return true;
        return IsProgramCandidate(files->fileInfo(files->index(row, 0, parent)));
    }
};

// The design places a frame's controls below a caption drawn on the frame's edge; where
// the style draws the caption taller, the controls move down by the difference.
void ClearFrameCaption(QGroupBox& frame, const QWidget& window) {
    constexpr int kDesignCaptionTwips = 210;
    frame.ensurePolished();
    const int delta = frame.contentsRect().top() - TwipsToPixelsY(window, kDesignCaptionTwips);
    if (delta <= 0) return;
    for (QWidget* child : frame.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->move(child->x(), child->y() + delta);
    }
}

}  // namespace

bool IsProgramCandidate(const QFileInfo& info) {
    if (info.isDir()) return true;
    return info.suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0 ||
           info.isExecutable();
}

QString ChooseProgramFile(QWidget* owner, const QString& title, const QString& filter,
                          const QString& proposed) {
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(filter);
    dialog.setProxyModel(new ProgramFilter(&dialog));
    // The name filter is shown; which files are listed is the proxy's business.
    if (auto* files = dialog.findChild<QFileSystemModel*>()) files->setNameFilters({});
    const QFileInfo start(proposed);
    if (start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
    } else {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

QString EditorPresetProposal(int preset) {
    if (preset <= 0 || preset >= kEditorPresetCount) return {};
    return QString::fromStdString(platform::ExpandEnvironmentStrings("%ProgramFiles%")) +
           Text(kPresetDetails[preset].subPath);
}

QString EditorPresetCommand(int preset, const QString& program) {
    if (preset <= 0 || preset >= kEditorPresetCount || program.isEmpty()) return {};
    return QLatin1Char('"') + program + Text(kPresetDetails[preset].tail);
}

frmOption::frmOption(OptionLinks links, QWidget* parent)
    : QDialog(parent), links_(std::move(links)), chooseProgram_(ChooseProgramFile) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(Text(kCaption));
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(DesignFont());
    CreateControls();
    ConnectControls();
    setFixedSize(TwipsToPixelsX(*this, kClientWidthTwips),
                 TwipsToPixelsY(*this, kClientHeightTwips));
    Form_Load();
}

frmOption::~frmOption() = default;

void frmOption::CreateControls() {
    // Created in tab order: OK, Cancel, the preset combo, then the rest.
    cmdOK = Named(new QPushButton(Text("&OK"), this), "cmdOK");
    PlaceCaptioned(*cmdOK, *this, {4920, 840, 1575, 375});
    cmdClose = Named(new QPushButton(Text("ｷｬﾝｾﾙ(&C)"), this), "cmdClose");
    PlaceCaptioned(*cmdClose, *this, {6600, 840, 1575, 375});

    cmbTextEditor = Named(new QComboBox(this), "cmbTextEditor");
    for (const char* item : kEditorPresets) cmbTextEditor->addItem(Text(item));
    PlaceCaptioned(*cmbTextEditor, *this, {6240, 360, 1935, 300});

    Label1 = Named(new QLabel(Text("外部テキストエディタ"), this), "Label1");
    PlaceCaptioned(*Label1, *this, {0, 45, 1875, 225});
    txtEditor = Named(new QLineEdit(this), "txtEditor");
    txtEditor->setProperty("tag", QStringLiteral("BootEditor"));
    Place(*txtEditor, *this, {1920, 0, 6255, 300});

    Label4 = Named(new QLabel(Text("ファイルの文字コード"), this), "Label4");
    PlaceCaptioned(*Label4, *this, {120, 450, 1995, 225});
    txtFileEncoding = Named(new QComboBox(this), "txtFileEncoding");
    txtFileEncoding->addItems(FileEncodingNames());
    txtFileEncoding->setProperty("tag", QString::fromLatin1(kFileEncodingKey));
    PlaceCaptioned(*txtFileEncoding, *this, {2160, 405, 1335, 300});

    Label3 = Named(new QLabel(Text("新規タブの検索エリア"), this), "Label3");
    PlaceCaptioned(*Label3, *this, {120, 900, 1995, 225});
    cmbScope = Named(new QComboBox(this), "cmbScope");
    for (const char* item : kScopeItems) cmbScope->addItem(Text(item));
    cmbScope->setProperty("tag", QStringLiteral("NewTabScope"));
    PlaceCaptioned(*cmbScope, *this, {2160, 840, 2655, 300});

    chkMinimizeWhileSeek =
        Named(new QCheckBox(Text("検索中に最小化"), this), "chkMinimizeWhileSeek");
    chkMinimizeWhileSeek->setProperty("tag", QStringLiteral("MinimizeWhileSeek"));
    Place(*chkMinimizeWhileSeek, *this, {120, 480, 2055, 255});
    chkMinimizeWhileSeek->setVisible(false);

    Frame3 = Named(new QGroupBox(Text("検索結果のフォント"), this), "Frame3");
    Place(*Frame3, *this, {120, 1320, 3015, kFrameHeightTwips});
    for (int i = 0; i < kFontOptionCount; ++i) {
        optFont[i] = Named(new QRadioButton(Text(kFontOptions[i]), Frame3), "optFont", i);
        PlaceCaptioned(*optFont[i], *this, kOptFontBoxes[i]);
    }
    optFont[0]->setChecked(true);
    txtFontName = Named(new QComboBox(Frame3), "txtFontName");
    txtFontName->setProperty("tag", QStringLiteral("FontName"));
    Place(*txtFontName, *this, {120, 1080, 2175, 300});
    txtFontSize = Named(new QComboBox(Frame3), "txtFontSize");
    txtFontSize->setEditable(true);
    txtFontSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char* size : kFontSizes) txtFontSize->addItem(Text(size));
    txtFontSize->setEditText(QStringLiteral("12"));
    txtFontSize->setProperty("tag", QStringLiteral("FontSize"));
    Place(*txtFontSize, *this, {2280, 1080, 630, 300});

    Frame1 = Named(new QGroupBox(Text("追加ツール"), this), "Frame1");
    Place(*Frame1, *this, {3240, 1320, 4935, kFrameHeightTwips});
    cmdClSpc = Named(new QPushButton(Text("無駄スペースの削除"), Frame1), "cmdClSpc");
    PlaceCaptioned(*cmdClSpc, *this, {120, 240, 2295, 435});
    cmdClSpcL =
        Named(new QPushButton(Text("無駄スペースの削除\n（選択中のコード）"), Frame1), "cmdClSpcL");
    PlaceCaptioned(*cmdClSpcL, *this, {120, 840, 2295, 555});
    Label2 = Named(new QLabel(Text("検索結果をExcel出力"), Frame1), "Label2");
    PlaceCaptioned(*Label2, *this, {2520, 840, 2265, 225});
    cboExportExcel = Named(new QComboBox(Frame1), "cboExportExcel");
    cboExportExcel->addItem(Text("(リスト選択)"));
    for (const char* name : kTabNames) cboExportExcel->addItem(Text(name));
    PlaceCaptioned(*cboExportExcel, *this, {2520, 1080, 2295, 300});

    ClearFrameCaption(*Frame3, *this);
    ClearFrameCaption(*Frame1, *this);
    cmdOK->setDefault(true);
}

void frmOption::ConnectControls() {
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmbTextEditor, &QComboBox::currentIndexChanged, this,
            [this] { cmbTextEditor_Click(); });
    connect(cboExportExcel, &QComboBox::currentIndexChanged, this,
            [this] { cboExportExcel_Click(); });
    connect(cmdClSpc, &QPushButton::clicked, this, [this] { cmdClSpc_Click(); });
    connect(cmdClSpcL, &QPushButton::clicked, this, [this] { cmdClSpcL_Click(); });
}

void frmOption::Form_Load() {
    // Stored values set the combos through their ordinary setters; the presets and the
    // export must not act on them.
    loading_ = true;
    if (frmAddIn* search = links_.existingSearchWindow ? links_.existingSearchWindow() : nullptr;
        search && search->isVisible()) {
        search->lower();
    }
    cmbTextEditor->setCurrentIndex(0);
    cboExportExcel->setCurrentIndex(0);
    txtFontName->addItems(QFontDatabase::families());
    txtFontName->setCurrentIndex(-1);
    LoadControlSettings(*this);
    if (txtFileEncoding->currentIndex() < 0) txtFileEncoding->setCurrentIndex(0);
    loading_ = false;
    cmdOK->setFocus();
}

void frmOption::cmdOK_Click() {
    if (Status saved = SaveControlSettings(*this); !saved) {
        // Nothing was stored: the dialog stays open with the user's values.
        ShowMessageBox(this, {QStringLiteral("設定を保存できませんでした。\r\n") +
                                  QString::fromStdString(saved.error()),
                              Text(kCaption), QMessageBox::Warning});
        return;
    }
    if (links_.editorTemplateChanged) links_.editorTemplateChanged(txtEditor->text().toStdString());
    frmAddIn* search = links_.existingSearchWindow ? links_.existingSearchWindow() : nullptr;
    cmdClose_Click();
    if (search && search->isVisible()) search->SetFont();
}

void frmOption::cmdClose_Click() {
    frmAddIn* search = links_.existingSearchWindow ? links_.existingSearchWindow() : nullptr;
    // Unloaded: the next opening is a fresh dialog that reloads the settings.
    hide();
    deleteLater();
    if (search && search->isVisible()) search->raise();
}

void frmOption::reject() {
    cmdClose_Click();
}

void frmOption::cmbTextEditor_Click() {
    const int preset = cmbTextEditor->currentIndex();
    if (loading_ || preset <= 0) return;
    const QString program = chooseProgram_
                                ? chooseProgram_(this, Text(kProgramDialogTitle),
                                                 Text(kProgramFilter), EditorPresetProposal(preset))
                                : QString();
    if (program.isEmpty()) return;  // cancelled: the field stays as it was
    txtEditor->setText(EditorPresetCommand(preset, program));
    cmbTextEditor->setCurrentIndex(0);
}

void frmOption::cboExportExcel_Click() {
    const int index = cboExportExcel->currentIndex();
    if (loading_ || index <= 0) return;
    if (links_.searchWindow) {
        const int tab = index - 1;
        ExportToExcel(links_.searchWindow().List(tab), tab, this);
    }
    cboExportExcel->setCurrentIndex(0);
}

void frmOption::cmdClSpc_Click() {
    if (!links_.host) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const host::CleanupOutcome outcome = host::ClearSpaceInProject(*links_.host);
    QApplication::restoreOverrideCursor();
    ReportCleanup(outcome);
}

void frmOption::cmdClSpcL_Click() {
    if (!links_.host) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const host::CleanupOutcome outcome = host::ClearSpaceInOpenPanes(*links_.host);
    QApplication::restoreOverrideCursor();
    ReportCleanup(outcome);
}

void frmOption::ReportCleanup(const host::CleanupOutcome& outcome) {
    const host::CleanupReport report = host::MakeCleanupReport(outcome);
    ShowMessageBox(this, {QString::fromStdString(report.text), QString::fromStdString(report.title),
                          outcome.stopped ? QMessageBox::Warning : QMessageBox::NoIcon});
}

}  // namespace trawlex::window
