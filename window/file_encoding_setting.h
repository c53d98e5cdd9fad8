#pragma once
// The file encoding chosen in the options dialog for folder searches, stored as the setting
// "FileEncoding": "auto" (detect), "cp932" or "utf-8".

#include <QStringList>

namespace trawlex::window {

enum class FileEncoding { Auto, Cp932, Utf8 };

inline constexpr const char* kFileEncodingKey = "FileEncoding";

// The names in the order the dialog lists them, FileEncoding's order.
QStringList FileEncodingNames();

// The stored choice; an absent or unknown value is Auto.
FileEncoding ReadFileEncodingSetting();

}  // namespace trawlex::window
