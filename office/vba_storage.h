#pragma once
// The modules of one VBA project storage (the storage that holds the "VBA" storage with
// its dir stream and module streams).

#include <optional>
#include <string_view>

#include "office/gsf_access.h"
#include "office/office_document.h"

namespace trawlex::office {

// Empty when `project` has no "VBA" storage with a dir stream. When `onlyModule` is given,
// only that module (compared without regard to ASCII case) is read.
std::optional<Result<OfficeProject>> ReadVbaProject(GsfInfile* project,
                                                    std::optional<std::string_view> onlyModule);

}  // namespace trawlex::office
