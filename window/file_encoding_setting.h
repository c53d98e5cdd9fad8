#pragma once
// The file encoding chosen in the options dialog for folder searches, stored as the setting
// "FileEncoding": "auto" (detect), "cp932" or "utf-8".

#include <QStringList>

#include "base/text_decode.h"

namespace trawlex::window {

inline constexpr const char* kFileEncodingKey = "FileEncoding";

// The names in the order the dialog lists them, EncodingChoice's order.
QStringList FileEncodingNames();

// The stored choice; an absent or unknown value is Auto.
EncodingChoice ReadFileEncodingSetting();

}  // namespace trawlex::window
