#pragma once
// frmOption: the options dialog. It edits the external editor command, the search area of
// a new result tab, the result font, the file encoding and a hidden minimize switch (saved
// by OK under the controls' tags), and carries tools that act at once: editor presets, the
// export of one result tab and the space cleanup of the host's code. Shown modeless; it is
// deleted when it closes, so each opening reloads the settings.

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QFileInfo;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace trawlex::host {
class HostApp;
struct CleanupOutcome;
}  // namespace trawlex::host

namespace trawlex::window {

class frmAddIn;

// What the dialog reaches outside itself.
struct OptionLinks {
    host::HostApp* host = nullptr;
    // The search window when it is loaded, else nullptr.
    std::function<frmAddIn*()> existingSearchWindow;
    // The search window, made when it does not exist yet (the export reads its lists).
    std::function<frmAddIn&()> searchWindow;
    // Called after OK saved the settings, with the new editor command.
    std::function<void(const std::string&)> editorTemplateChanged;
};

// Shows the program dialog for a preset: title, filter text and the proposed file; the
// chosen file, or an empty text when the user cancelled.
using ProgramChooser = std::function<QString(QWidget* owner, const QString& title,
                                             const QString& filter, const QString& proposed)>;

inline constexpr int kEditorPresetCount = 4;
inline constexpr int kFontOptionCount = 3;

class frmOption : public QDialog {
    Q_OBJECT
  public:
    explicit frmOption(OptionLinks links, QWidget* parent = nullptr);
    ~frmOption() override;

    // Handlers.
    void cmdOK_Click();
    void cmdClose_Click();
    void cmbTextEditor_Click();
    void cboExportExcel_Click();
    void cmdClSpc_Click();
    void cmdClSpcL_Click();

    // Replaces the program dialog of the presets (tests).
    void SetProgramChooser(ProgramChooser chooser) { chooseProgram_ = std::move(chooser); }

    // Controls, named as their objectNames; `optFont` is an array (dynamic property "index").
    QLabel* Label1 = nullptr;
    QLineEdit* txtEditor = nullptr;
    QComboBox* cmbTextEditor = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cmbScope = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* txtFileEncoding = nullptr;
    QCheckBox* chkMinimizeWhileSeek = nullptr;
    QGroupBox* Frame3 = nullptr;
    std::array<QRadioButton*, kFontOptionCount> optFont{};
    QComboBox* txtFontName = nullptr;
    QComboBox* txtFontSize = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdClSpc = nullptr;
    QPushButton* cmdClSpcL = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboExportExcel = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdClose = nullptr;

  protected:
    void reject() override;

  private:
    void CreateControls();
    void ConnectControls();
    void Form_Load();
    void ReportCleanup(const host::CleanupOutcome& outcome);

    OptionLinks links_;
    ProgramChooser chooseProgram_;
    bool loading_ = false;
};

// What the presets' file dialog lists: folders, "*.exe" files and executable files.
bool IsProgramCandidate(const QFileInfo& info);

// The file dialog of the presets: the filter shows only folders, "*.exe" files and the
// executable files of this platform (whose programs carry no ".exe").
QString ChooseProgramFile(QWidget* owner, const QString& title, const QString& filter,
                          const QString& proposed);

// The editor command a preset makes of a chosen program: the program in double quotes and
// the preset's arguments. Empty for preset 0 or an empty program.
QString EditorPresetCommand(int preset, const QString& program);
// The program the preset's dialog proposes, under the expanded %ProgramFiles%.
QString EditorPresetProposal(int preset);

}  // namespace trawlex::window
