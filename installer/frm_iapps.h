#pragma once
// frmIApps: the install options. At load it runs the checks row by row, with pauses that keep
// the window painting, and enables cmdInst exactly when both libraries are beside the
// installer. Install runs UninstallAll, then InstallAddins; cancel and close ask first.

#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace trawlex::installer {

class InstallerFlow;

class FrmIApps : public QWidget {
    Q_OBJECT

  public:
    explicit FrmIApps(InstallerFlow& flow);

    // Whether the load's checks have finished.
    bool checksDone() const { return checksDone_; }

  signals:
    void checksFinished();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    // Processes pending window messages and waits, painting; false once the program ended.
    bool Pause(int milliseconds);
    void cmdInst_Click();
    void cmdBack_Click();

    InstallerFlow& flow_;
    QListWidget* lstInstOption;
    QPushButton* cmdInst;
    QPushButton* cmdBack;
    bool loaded_ = false;
    bool checksDone_ = false;
};

}  // namespace trawlex::installer
