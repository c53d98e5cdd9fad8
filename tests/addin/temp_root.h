#pragma once
// A fresh machine for a test process: TRAWLEX_ROOT, HOME and the documents folder all point
// into one temporary folder that goes away with the object.

#include <QString>
#include <QTemporaryDir>

namespace trawlex::testing {

class TempRoot {
  public:
    TempRoot();
    QString path() const { return dir_.path(); }
    // The documents folder SpecialFolder("MyDocuments") reports, without a trailing "/".
    QString documents() const { return dir_.path() + "/Documents"; }

  private:
    QTemporaryDir dir_;
};

// The registry value, or "<failed: description>" so a failure shows in the comparison.
QString RegValue(const std::string& path);

}  // namespace trawlex::testing
