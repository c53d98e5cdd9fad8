#pragma once
// One registry hive in memory: keys by path below the hive's root, each with its values.
// Names compare without ASCII case and keep the case they were first written with.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace trawlex::platform {

// Windows value type numbers, as the .reg hex(n) form names them.
enum RegType : uint32_t {
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
};

struct RegValue {
    std::string name;  // "" is the key's default value
    uint32_t type = kRegSz;
    std::string text;  // REG_SZ and REG_EXPAND_SZ
    uint32_t dword = 0;
    std::string raw;  // the stored bytes of any other type, kept as they were
};

struct RegKey {
    std::string path;  // below the root, components joined by '\'; "" is the root
    std::vector<RegValue> values;

    RegValue* FindValue(std::string_view name);
    const RegValue* FindValue(std::string_view name) const;
    RegValue& SetValue(RegValue value);
    bool RemoveValue(std::string_view name);
};

std::string FoldCase(std::string_view text);

class RegHive {
  public:
    RegHive();

    RegKey* Find(std::string_view path);
    const RegKey* Find(std::string_view path) const;
    // Creates the key and its missing parents.
    RegKey& Create(std::string_view path);
    bool HasSubKeys(std::string_view path) const;
    std::vector<std::string> SubKeyNames(std::string_view path) const;
    // Removes a key (not the root); with its subkeys only when recursive.
    void Remove(std::string_view path, bool recursive);

    // Keys in folded-path order: every parent before its subkeys.
    const std::map<std::string, RegKey>& keys() const { return keys_; }

  private:
    std::map<std::string, RegKey> keys_;  // by FoldCase(path)
};

}  // namespace trawlex::platform
