#include "platform/reg_hive.h"

#include <algorithm>

namespace trawlex::platform {

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

RegValue* RegKey::FindValue(std::string_view name) {
    const std::string folded = FoldCase(name);
    for (RegValue& value : values) {
        if (FoldCase(value.name) == folded) return &value;
    }
    return nullptr;
}

const RegValue* RegKey::FindValue(std::string_view name) const {
    return const_cast<RegKey*>(this)->FindValue(name);
}

RegValue& RegKey::SetValue(RegValue value) {
    if (RegValue* existing = FindValue(value.name)) {
        value.name = existing->name;  // the first spelling stays
        *existing = std::move(value);
        return *existing;
    }
    values.push_back(std::move(value));
    return values.back();
}

bool RegKey::RemoveValue(std::string_view name) {
    const std::string folded = FoldCase(name);
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const RegValue& v) { return FoldCase(v.name) == folded; });
    if (it == values.end()) return false;
    values.erase(it);
    return true;
}

RegHive::RegHive() {
    keys_.emplace("", RegKey{});
}

RegKey* RegHive::Find(std::string_view path) {
    auto it = keys_.find(FoldCase(path));
    return it == keys_.end() ? nullptr : &it->second;
}

const RegKey* RegHive::Find(std::string_view path) const {
    auto it = keys_.find(FoldCase(path));
    return it == keys_.end() ? nullptr : &it->second;
}

RegKey& RegHive::Create(std::string_view path) {
    if (RegKey* existing = Find(path)) return *existing;
    const size_t slash = path.rfind('\\');
    if (slash != std::string_view::npos) Create(path.substr(0, slash));
    RegKey key;
    key.path = std::string(path);
    return keys_.emplace(FoldCase(path), std::move(key)).first->second;
}

namespace {

std::string ChildPrefix(std::string_view path) {
    return path.empty() ? std::string() : FoldCase(path) + "\\";
}

}  // namespace

bool RegHive::HasSubKeys(std::string_view path) const {
    return !SubKeyNames(path).empty();
}

std::vector<std::string> RegHive::SubKeyNames(std::string_view path) const {
    const std::string prefix = ChildPrefix(path);
    std::vector<std::string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        const std::string& folded = it->first;
        if (folded.compare(0, prefix.size(), prefix) != 0) break;
        if (folded.size() == prefix.size()) continue;  // the key itself (the root)
        if (folded.find('\\', prefix.size()) != std::string::npos) continue;
        names.push_back(it->second.path.substr(prefix.size()));
    }
    return names;
}

void RegHive::Remove(std::string_view path, bool recursive) {
    if (path.empty()) return;
    if (recursive) {
        const std::string prefix = ChildPrefix(path);
        auto it = keys_.lower_bound(prefix);
        while (it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0) {
            it = keys_.erase(it);
        }
    }
    keys_.erase(FoldCase(path));
}

}  // namespace trawlex::platform
