#pragma once
// A fresh machine root for one test case: TRAWLEX_ROOT points into a temporary folder whose
// system directory holds the built regsvr32, and a staging folder plays the folder the
// installer is started from, with the two test add-ins as trawlex.dll and trawlexup.dll.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace installer_test {

class TestMachine {
  public:
    enum Staged { kNoLibraries, kMainLibraryOnly, kBothLibraries };
    explicit TestMachine(Staged staged = kBothLibraries);
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    QString root() const { return dir_.path(); }
    QString staging() const { return dir_.path() + "/staging"; }
    QString systemFile(const QString& name) const { return root() + "/system32/" + name; }
    // What installing both editors leaves behind, written directly.
    bool AddEditorMarkers() const;

  private:
    QTemporaryDir dir_;
    QByteArray previousRoot_;
};

QByteArray ReadAll(const QString& path);

}  // namespace installer_test
