#pragma once
// The installer's message boxes, all under the program's title "Trawlex Plus Installer". A
// class of its own so tests can answer them instead of a user.

#include <QString>

class QWidget;

namespace trawlex::installer {

class InstallerMessages {
  public:
    virtual ~InstallerMessages() = default;
    // OK button, no icon.
    virtual void Inform(QWidget* parent, const QString& text);
    // OK button, critical icon.
    virtual void Critical(QWidget* parent, const QString& text);
    // Yes and No, No the default; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text);
};

}  // namespace trawlex::installer
