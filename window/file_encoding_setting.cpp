#include "window/file_encoding_setting.h"

#include "window/control_settings.h"

namespace trawlex::window {

QStringList FileEncodingNames() {
    return {QStringLiteral("auto"), QStringLiteral("cp932"), QStringLiteral("utf-8")};
}

FileEncoding ReadFileEncodingSetting() {
    const QString stored = ReadSetting(QString::fromLatin1(kFileEncodingKey)).trimmed();
    const qsizetype index = FileEncodingNames().indexOf(stored.toLower());
    return index < 0 ? FileEncoding::Auto : static_cast<FileEncoding>(index);
}

}  // namespace trawlex::window
