#include "platform/settings.h"

#include "platform/hive_file.h"
#include "platform/registry.h"
#include "platform/registry_path.h"

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

std::vector<std::pair<std::string, std::string>> GetAllSettings(std::string_view app,
                                                                std::string_view section) {
    std::vector<std::pair<std::string, std::string>> settings;
    if (!CheckNames(app, section)) return settings;
    Result<RegistryPath> path = ParseRegistryKeyPath(SectionPath(app, section));
    if (!path) return settings;
    Result<RegHive> hive = LoadHive(path->hive);
    if (!hive) return settings;
    const RegKey* key = hive->Find(path->key);
    if (!key) return settings;
    for (const RegValue& value : key->values) {
        if (value.name.empty()) continue;  // a key's default value is no setting
        if (value.type == kRegSz || value.type == kRegExpandSz) {
            settings.emplace_back(value.name, value.text);
        } else if (value.type == kRegDword) {
            settings.emplace_back(value.name, std::to_string(value.dword));
        }
    }
    return settings;
}

Status SaveSettings(std::string_view app, std::string_view section,
                    const std::vector<std::pair<std::string, std::string>>& values) {
    if (Status ok = CheckNames(app, section); !ok) return ok;
    for (const auto& [key, value] : values) {
        if (Status ok = CheckName("key", key); !ok) return ok;
    }
    if (values.empty()) return {};
    Result<RegistryPath> path = ParseRegistryKeyPath(SectionPath(app, section));
    if (!path) return Failure{path.error()};
    return ModifyHive(path->hive, [&](RegHive& hive) {
        RegKey& key = hive.Create(path->key);
        for (const auto& [name, text] : values) {
            RegValue value;
            value.name = name;
            value.type = kRegSz;
            value.text = text;
            key.SetValue(std::move(value));
        }
        return Status();
    });
}

std::string SettingsSectionKey(std::string_view app, std::string_view section) {
    return SectionPath(app, section);
}

Status DeleteSetting(std::string_view app, std::string_view section, std::string_view key) {
    if (Status ok = CheckNames(app, section); !ok) return ok;
    if (key.empty()) return RegDeleteTree(SectionPath(app, section));
    if (Status ok = CheckName("key", key); !ok) return ok;
    return RegDelete(SectionPath(app, section) + std::string(key));
}

}  // namespace trawlex::platform
