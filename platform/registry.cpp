#include "platform/registry.h"

#include <cerrno>
#include <cstdlib>

#include "platform/hive_file.h"
#include "platform/registry_path.h"

namespace trawlex::platform {

namespace {

std::string Quote(std::string_view path) {
    std::string quoted(1, '"');
    quoted.append(path);
    quoted += '"';
    return quoted;
}

Result<RegValue> ValueFromText(std::string_view text, std::string_view type) {
    RegValue value;
    const std::string folded = FoldCase(type);
    if (folded == "reg_sz" || folded == "reg_expand_sz") {
        value.type = folded == "reg_sz" ? kRegSz : kRegExpandSz;
        value.text = std::string(text);
        return value;
    }
    if (folded != "reg_dword") {
        return Failure{"unsupported registry value type \"" + std::string(type) +
                       "\" (REG_SZ, REG_EXPAND_SZ or REG_DWORD)"};
    }
    const std::string digits(text);
    const bool hex = digits.starts_with("0x") || digits.starts_with("0X");
    errno = 0;
    char* end = nullptr;
    long long number = std::strtoll(digits.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (digits.empty() || *end != '\0' || end == digits.c_str() + (hex ? 2 : 0) ||
        errno == ERANGE || number < -2147483648LL || number > 4294967295LL) {
        return Failure{"\"" + digits + "\" is not a 32-bit number for a REG_DWORD value"};
    }
    value.type = kRegDword;
    value.dword = static_cast<uint32_t>(number);
    return value;
}

}  // namespace

Result<std::string> RegRead(std::string_view path) {
    Result<RegistryPath> parsed = ParseRegistryPath(path);
    if (!parsed) return Failure{parsed.error()};
    Result<RegHive> hive = LoadHive(parsed->hive);
    if (!hive) return Failure{hive.error()};
    const RegKey* key = hive->Find(parsed->key);
    const RegValue* value = key ? key->FindValue(parsed->valueName) : nullptr;
    if (!value) return Failure{"unable to open registry key " + Quote(path) + " for reading"};
    switch (value->type) {
        case kRegSz:
        case kRegExpandSz:
            return value->text;
        case kRegDword:
            return std::to_string(value->dword);
        default:
            return Failure{"registry value " + Quote(path) +
                           " has a type that cannot be read as text"};
    }
}

Status RegWrite(std::string_view path, std::string_view value, std::string_view type) {
    Result<RegistryPath> parsed = ParseRegistryPath(path);
    if (!parsed) return Failure{parsed.error()};
    Result<RegValue> data = ValueFromText(value, type);
    if (!data) return Failure{data.error()};
    data->name = parsed->valueName;
    return ModifyHive(parsed->hive, [&](RegHive& hive) {
        hive.Create(parsed->key).SetValue(*data);
        return Status();
    });
}

Status RegDelete(std::string_view path) {
    Result<RegistryPath> parsed = ParseRegistryPath(path);
    if (!parsed) return Failure{parsed.error()};
    return ModifyHive(parsed->hive, [&](RegHive& hive) -> Status {
        RegKey* key = hive.Find(parsed->key);
        if (!key) return Failure{"unable to remove registry key " + Quote(path) + ": not found"};
        if (!parsed->namesKey) {
            if (!key->RemoveValue(parsed->valueName)) {
                return Failure{"unable to remove registry value " + Quote(path) + ": not found"};
            }
            return {};
        }
        if (parsed->key.empty()) return Failure{"cannot remove a registry root " + Quote(path)};
        if (hive.HasSubKeys(parsed->key)) {
            return Failure{"unable to remove registry key " + Quote(path) + ": it has subkeys"};
        }
        hive.Remove(parsed->key, false);
        return {};
    });
}

Status RegDeleteTree(std::string_view keyPath) {
    Result<RegistryPath> parsed = ParseRegistryKeyPath(keyPath);
    if (!parsed) return Failure{parsed.error()};
    return ModifyHive(parsed->hive, [&](RegHive& hive) -> Status {
        if (parsed->key.empty()) return Failure{"cannot remove a registry root " + Quote(keyPath)};
        if (!hive.Find(parsed->key)) {
            return Failure{"unable to remove registry key " + Quote(keyPath) + ": not found"};
        }
        hive.Remove(parsed->key, true);
        return {};
    });
}

Result<std::vector<std::string>> RegSubKeys(std::string_view keyPath) {
    Result<RegistryPath> parsed = ParseRegistryKeyPath(keyPath);
    if (!parsed) return Failure{parsed.error()};
    Result<RegHive> hive = LoadHive(parsed->hive);
    if (!hive) return Failure{hive.error()};
    if (!hive->Find(parsed->key)) {
        return Failure{"unable to open registry key " + Quote(keyPath) + ": not found"};
    }
    return hive->SubKeyNames(parsed->key);
}

Result<std::vector<std::string>> RegValueNames(std::string_view keyPath) {
    Result<RegistryPath> parsed = ParseRegistryKeyPath(keyPath);
    if (!parsed) return Failure{parsed.error()};
    Result<RegHive> hive = LoadHive(parsed->hive);
    if (!hive) return Failure{hive.error()};
    const RegKey* key = hive->Find(parsed->key);
    if (!key) return Failure{"unable to open registry key " + Quote(keyPath) + ": not found"};
    std::vector<std::string> names;
    for (const RegValue& value : key->values) names.push_back(value.name);
    return names;
}

bool RegKeyExists(std::string_view keyPath) {
    Result<RegistryPath> parsed = ParseRegistryKeyPath(keyPath);
    if (!parsed) return false;
    Result<RegHive> hive = LoadHive(parsed->hive);
    return hive && hive->Find(parsed->key) != nullptr;
}

}  // namespace trawlex::platform
