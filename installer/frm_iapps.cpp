#include "installer/frm_iapps.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include "installer/install_checks.h"
#include "installer/installer_flow.h"
#include "installer/installer_look.h"
#include "installer/installer_texts.h"
#include "registration/registration.h"

namespace trawlex::installer {

FrmIApps::FrmIApps(InstallerFlow& flow)
    : flow_(flow),
      lstInstOption(new QListWidget(this)),
      cmdInst(new QPushButton(QString::fromUtf8("インストール(&I)"), this)),
      cmdBack(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this)) {
    setObjectName("frmIApps");
    auto* heading = new QLabel(QString::fromUtf8("Visual Basicとインストールファイルの確認"), this);
    heading->setObjectName("lblHeading");
    heading->setFont(DesignFont("MS Mincho", 12, true));
    heading->setGeometry(16, 12, 428, 28);
    lstInstOption->setObjectName("lstInstOption");
    lstInstOption->setGeometry(16, 46, 428, 120);
    lstInstOption->setSelectionMode(QAbstractItemView::NoSelection);
    lstInstOption->setFocusPolicy(Qt::NoFocus);
    cmdInst->setObjectName("cmdInst");
    cmdInst->setGeometry(212, 180, 120, 30);
    cmdInst->setEnabled(false);
    cmdBack->setObjectName("cmdBack");
    cmdBack->setGeometry(340, 180, 104, 30);
    MakeFixedDialog(this, QString::fromUtf8(kSplashCaption), 460, 224);
    connect(cmdInst, &QPushButton::clicked, this, &FrmIApps::cmdInst_Click);
    connect(cmdBack, &QPushButton::clicked, this, &FrmIApps::cmdBack_Click);
}

void FrmIApps::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (loaded_) return;
    loaded_ = true;
    // The checks run once the window is on the screen, as the load shows it first.
    QTimer::singleShot(0, this, &FrmIApps::Form_Load);
}

bool FrmIApps::Pause(int milliseconds) {
    QCoreApplication::processEvents();
    const int scaled = milliseconds * flow_.settings().checkPausePercent / 100;
    if (scaled > 0 && !flow_.ended()) {
        QEventLoop loop;
        QTimer::singleShot(scaled, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return !flow_.ended();
}

void FrmIApps::Form_Load() {
    setEnabled(false);
    bool possible = false;
    {
        WaitCursor wait;
        possible = RunInstallChecks(
            flow_.settings().folder,
            [this](const CheckRow& row) {
                lstInstOption->addItem(QString::fromStdString(row.text));
            },
            [this](int milliseconds) { return Pause(milliseconds); });
    }
    if (flow_.ended()) return;
    cmdInst->setEnabled(possible);
    setEnabled(true);
    checksDone_ = true;
    emit checksFinished();
}

void FrmIApps::cmdInst_Click() {
    registration::Outcome installed;
    {
        WaitCursor wait;
        // The removal's own failures do not decide: the installation that follows does.
        (void)registration::UninstallAll();
        installed = registration::InstallAddins(flow_.settings().folder);
    }
    if (installed) {
        flow_.messages().Inform(this, QString::fromUtf8(kInstallSucceeded));
        flow_.EndProgram();
    } else {
        flow_.messages().Critical(this, QString::fromStdString(InstallFailedMessage(installed)));
    }
}

void FrmIApps::cmdBack_Click() {
    if (flow_.messages().Confirm(this, QString::fromUtf8(kCancelQuestion))) flow_.EndProgram();
}

void FrmIApps::closeEvent(QCloseEvent* event) {
    if (flow_.ended() || flow_.messages().Confirm(this, QString::fromUtf8(kCancelQuestion))) {
        event->accept();
        flow_.EndProgram();
    } else {
        event->ignore();
    }
}

}  // namespace trawlex::installer
