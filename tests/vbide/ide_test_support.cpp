#include "ide_test_support.h"

#include <QDir>
#include <QFile>

namespace vbide_test {

ScopedMachineRoot::ScopedMachineRoot() : previous_(qgetenv("TRAWLEX_ROOT")) {
    qputenv("TRAWLEX_ROOT", dir_.path().toLocal8Bit());
}

ScopedMachineRoot::~ScopedMachineRoot() {
    if (previous_.isEmpty())
        qunsetenv("TRAWLEX_ROOT");
    else
        qputenv("TRAWLEX_ROOT", previous_);
}

QString CopySample(const QString& dir) {
    const QDir samples(TRAWLEX_SAMPLES_DIR);
    for (const QString& name : samples.entryList(QDir::Files))
        QFile::copy(samples.filePath(name), QDir(dir).filePath(name));
    return QDir(dir).filePath("Sample.vbp");
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

}  // namespace vbide_test
