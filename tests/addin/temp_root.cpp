#include "temp_root.h"

#include <QDir>

#include "platform/registry.h"

namespace trawlex::testing {

TempRoot::TempRoot() {
    qputenv("TRAWLEX_ROOT", dir_.path().toUtf8());
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_DOCUMENTS_DIR", documents().toUtf8());
    QDir().mkpath(documents());
}

QString RegValue(const std::string& path) {
    Result<std::string> value = platform::RegRead(path);
    return QString::fromStdString(value ? *value : "<failed: " + value.error() + ">");
}

}  // namespace trawlex::testing
