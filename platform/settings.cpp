#include "platform/settings.h"

#include "platform/registry.h"

namespace trawlex::platform {

namespace {

constexpr std::string_view kSettingsRoot = "HKCU\\Software\\VB and VBA Program Settings\\";

// A backslash would silently address another key; an empty name addresses none.
Status CheckName(std::string_view what, std::string_view name) {
    if (name.empty()) return Failure{"the settings " + std::string(what) + " name is empty"};
    if (name.find('\\') != std::string_view::npos) {
        return Failure{"the settings " + std::string(what) + " name \"" + std::string(name) +
                       "\" holds a backslash"};
    }
    return {};
}

Status CheckNames(std::string_view app, std::string_view section) {
    if (Status ok = CheckName("application", app); !ok) return ok;
    return CheckName("section", section);
}

std::string SectionPath(std::string_view app, std::string_view section) {
    return std::string(kSettingsRoot) + std::string(app) + "\\" + std::string(section) + "\\";
}

}  // namespace

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) {
    if (!CheckNames(app, section) || !CheckName("key", key)) return std::string(defaultValue);
    Result<std::string> value = RegRead(SectionPath(app, section) + std::string(key));
    return value ? std::move(value).value() : std::string(defaultValue);
}

Status SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) {
    if (Status ok = CheckNames(app, section); !ok) return ok;
    if (Status ok = CheckName("key", key); !ok) return ok;
    return RegWrite(SectionPath(app, section) + std::string(key), value, "REG_SZ");
}

Status DeleteSetting(std::string_view app, std::string_view section, std::string_view key) {
    if (Status ok = CheckNames(app, section); !ok) return ok;
    if (key.empty()) return RegDeleteTree(SectionPath(app, section));
    if (Status ok = CheckName("key", key); !ok) return ok;
    return RegDelete(SectionPath(app, section) + std::string(key));
}

}  // namespace trawlex::platform
