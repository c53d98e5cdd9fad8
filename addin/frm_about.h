#pragma once
// frmAbout: the version dialog. The product picture, title and version, a button that opens
// the support page, and OK. Enter opens the page; Esc and OK close the dialog.

#include <QDialog>

class QLabel;
class QPushButton;

namespace trawlex::addin {

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    void cmdGoHP_Click();
    void cmdOK_Click();

    // Controls, named as their objectNames.
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdGoHP = nullptr;
    QPushButton* cmdOK = nullptr;

  private:
    void Form_Load();
};

}  // namespace trawlex::addin
