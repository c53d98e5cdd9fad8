#include "addin/product_info.h"

#include "addin/addin_version.h"

namespace trawlex::addin {

std::string DisplayVersion() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionBuild);
}

}  // namespace trawlex::addin
