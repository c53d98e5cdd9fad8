#pragma once
// frmIMdfy: maintenance of an existing installation: online update (no action here; the
// updater add-in does it inside the editor), reinstall, remove. Closing it ends the program.

#include <QPushButton>
#include <QWidget>

namespace trawlex::installer {

class InstallerFlow;

class FrmIMdfy : public QWidget {
    Q_OBJECT

  public:
    explicit FrmIMdfy(InstallerFlow& flow);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* AddRow(const char* name, const char* caption, const char* explanation, int top);
    void cmdInst_Click();
    void cmdUninst_Click();

    InstallerFlow& flow_;
};

}  // namespace trawlex::installer
