#include "vbide/addin_records.h"

#include <algorithm>
#include <cstdlib>

#include "platform/registry.h"
#include "base/ascii_case.h"

namespace trawlex::vbide {
namespace {

std::string KeyOf(Flavour flavour, const std::string& progId) {
    return AddinsKey(flavour) + "\\" + progId + "\\";
}

unsigned ParseDword(const std::string& text) {
    char* end = nullptr;
    unsigned long v = std::strtoul(text.c_str(), &end, 0);
    return end == text.c_str() ? 0u : static_cast<unsigned>(v);
}

}  // namespace

Result<AddinRecord> ReadAddinRecord(Flavour flavour, const std::string& progId) {
    // The ProgID as the record spells it: the library compares it exactly.
    std::string stored;
    for (const auto& name : platform::RegSubKeys(AddinsKey(flavour)).value_or({}))
        if (EqualsIgnoringCase(name, progId)) stored = name;
    if (progId.empty() || stored.empty()) return Failure{"no add-in record for " + progId};
    const std::string key = KeyOf(flavour, stored);
    AddinRecord r;
    r.progId = stored;
    r.friendlyName = platform::RegRead(key + "FriendlyName").value_or(progId);
    if (r.friendlyName.empty()) r.friendlyName = progId;
    r.description = platform::RegRead(key + "Description").value_or("");
    r.loadBehavior = ParseDword(platform::RegRead(key + "LoadBehavior").value_or("0"));
    return r;
}

std::vector<AddinRecord> ListAddinRecords(Flavour flavour) {
    std::vector<AddinRecord> records;
    auto names = platform::RegSubKeys(AddinsKey(flavour));
    if (!names) return records;
    for (const auto& progId : *names)
        if (auto r = ReadAddinRecord(flavour, progId)) records.push_back(std::move(*r));
    return records;
}

Status SetLoadAtStartup(Flavour flavour, const std::string& progId, bool load) {
    auto record = ReadAddinRecord(flavour, progId);
    if (!record) return Failure{record.error()};
    unsigned v = record->loadBehavior;
    v = load ? (v | kLoadAtStartup) : (v & ~kLoadAtStartup);
    return platform::RegWrite(KeyOf(flavour, progId) + "LoadBehavior", std::to_string(v),
                              "REG_DWORD");
}

}  // namespace trawlex::vbide
