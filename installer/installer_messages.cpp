#include "installer/installer_messages.h"

#include <QMessageBox>

#include "installer/installer_texts.h"

namespace trawlex::installer {

namespace {

QMessageBox::StandardButton Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QString::fromUtf8(kProgramTitle), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void InstallerMessages::Inform(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

void InstallerMessages::Critical(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool InstallerMessages::Confirm(QWidget* parent, const QString& text) {
    return Show(parent, QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace trawlex::installer
