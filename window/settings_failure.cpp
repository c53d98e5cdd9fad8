#include "window/settings_failure.h"

#include <QMessageBox>
#include <QString>

namespace trawlex::window {

bool ReportSettingsSaveFailure(const Status& status, QWidget* parent) {
    static bool reported = false;
    if (status.ok() || reported) return false;
    reported = true;
    auto* box = new QMessageBox(
        QMessageBox::Warning, QStringLiteral("Trawlex Plus"),
        QStringLiteral("設定を保存できませんでした。\n") + QString::fromStdString(status.error()),
        QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("SettingsSaveFailure"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    return true;
}

}  // namespace trawlex::window
