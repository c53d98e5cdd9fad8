#include "window/file_encoding_setting.h"

#include "window/control_settings.h"

namespace trawlex::window {

QStringList FileEncodingNames() {
    return {QStringLiteral("auto"), QStringLiteral("cp932"), QStringLiteral("utf-8")};
}

EncodingChoice ReadFileEncodingSetting() {
    const QString stored = ReadSetting(QString::fromLatin1(kFileEncodingKey)).trimmed();
    const qsizetype index = FileEncodingNames().indexOf(stored.toLower());
    return index < 0 ? EncodingChoice::Auto : static_cast<EncodingChoice>(index);
}

}  // namespace trawlex::window
