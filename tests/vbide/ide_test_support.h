#pragma once
// Helpers shared by the editor's QtTests.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace vbide_test {

// A fresh machine root (registry, system folder) for the process; set before any
// registry use and kept for the test's life.
class ScopedMachineRoot {
  public:
    ScopedMachineRoot();
    ~ScopedMachineRoot();
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

// Copies the bundled sample project into `dir`; returns the .vbp path there.
QString CopySample(const QString& dir);
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

}  // namespace vbide_test
