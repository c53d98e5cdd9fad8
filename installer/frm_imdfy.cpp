#include "installer/frm_imdfy.h"

#include <QCloseEvent>
#include <QLabel>

#include "installer/installer_flow.h"
#include "installer/installer_look.h"
#include "installer/installer_texts.h"
#include "registration/registration.h"

namespace trawlex::installer {

FrmIMdfy::FrmIMdfy(InstallerFlow& flow) : flow_(flow) {
    setObjectName("frmIMdfy");
    // Online updating is the updater add-in's work inside the editor; the button does nothing.
    AddRow("cmdWebUpdate", "オンライン更新(&U)",
           "インターネット経由で、\nTrawlex Plus の新しいバージョンを取得します。", 16);
    QPushButton* cmdInst = AddRow("cmdInst", "再インストール(&R)",
                                  "Trawlex Plus を修復または再インストールします。", 72);
    QPushButton* cmdUninst =
        AddRow("cmdUninst", "削除(&D)", "Trawlex Plus をコンピュータから削除します。", 128);
    MakeFixedDialog(this, QString::fromUtf8(kProgramTitle), 500, 184);
    connect(cmdInst, &QPushButton::clicked, this, &FrmIMdfy::cmdInst_Click);
    connect(cmdUninst, &QPushButton::clicked, this, &FrmIMdfy::cmdUninst_Click);
}

QPushButton* FrmIMdfy::AddRow(const char* name, const char* caption, const char* explanation,
                              int top) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(name);
    button->setGeometry(16, top, 150, 40);
    auto* label = new QLabel(QString::fromUtf8(explanation), this);
    label->setObjectName(QString(name).replace("cmd", "lbl"));
    label->setGeometry(180, top, 304, 40);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return button;
}

void FrmIMdfy::cmdInst_Click() {
    flow_.Reinstall();
}

void FrmIMdfy::cmdUninst_Click() {
    registration::Outcome removed;
    {
        WaitCursor wait;
        removed = registration::UninstallAll();
    }
    if (removed) {
        flow_.messages().Inform(this, QString::fromUtf8(kUninstallSucceeded));
        flow_.EndProgram();
    } else {
        flow_.messages().Inform(this, QString::fromUtf8(kUninstallFailed));
    }
}

void FrmIMdfy::closeEvent(QCloseEvent* event) {
    event->accept();
    flow_.EndProgram();
}

}  // namespace trawlex::installer
