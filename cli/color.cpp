#include "cli/color.h"

#include <cstdlib>

namespace trawlex::cli {

std::optional<ColorChoice> ColorChoiceFromName(std::string_view name) {
    if (name == "auto") return ColorChoice::Auto;
    if (name == "always") return ColorChoice::Always;
    if (name == "never") return ColorChoice::Never;
    return std::nullopt;
}

bool ColourWanted(ColorChoice choice, bool terminal) {
    switch (choice) {
        case ColorChoice::Always:
            return true;
        case ColorChoice::Never:
            return false;
        case ColorChoice::Auto:
            break;
    }
    const char* no_colour = std::getenv("NO_COLOR");
    return terminal && (no_colour == nullptr || *no_colour == '\0');
}

}  // namespace trawlex::cli
