#include "vbfiles/vb_project.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "base/ascii_case.h"
#include "base/text_decode.h"
#include "search/file_reader.h"

namespace trawlex {
namespace {

std::string Trim(std::string_view s) {
    auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

std::string Unquote(std::string s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string DirOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string StemOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A path as a project file writes it, resolved against the project's folder.
std::string ProjectRelative(const std::string& projectDir, std::string relative) {
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (!relative.empty() && relative.front() == '/') return ResolvePathNoCase(relative);
    return ResolvePathNoCase(projectDir + "/" + relative);
}

struct KeyValue {
    std::string key;
    std::string value;
};

std::vector<KeyValue> KeyValues(const std::string& text) {
    std::vector<KeyValue> out;
    for (const auto& line : SplitLines(text, nullptr)) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        out.push_back({Trim(std::string_view(line).substr(0, eq)),
                       Trim(std::string_view(line).substr(eq + 1))});
    }
    return out;
}

struct ModuleEntry {
    VbModuleKind kind;
    bool named;  // "Name; file"
};

bool EntryOfKey(const std::string& key, ModuleEntry* entry) {
    static const std::pair<std::string_view, ModuleEntry> kEntries[] = {
        {"module", {VbModuleKind::Standard, true}},
        {"class", {VbModuleKind::Class, true}},
        {"form", {VbModuleKind::Form, false}},
        {"usercontrol", {VbModuleKind::UserControl, false}},
        {"propertypage", {VbModuleKind::PropertyPage, false}},
        {"userdocument", {VbModuleKind::UserDocument, false}},
        {"designer", {VbModuleKind::Designer, false}},
    };
    std::string k = ToLowerAscii(key);
    for (const auto& [name, e] : kEntries) {
        if (k == name) {
            *entry = e;
            return true;
        }
    }
    return false;
}

}  // namespace

VbModuleKind ModuleKindOfPath(std::string_view path) {
    auto dot = path.find_last_of('.');
    std::string ext = dot == std::string_view::npos ? "" : ToLowerAscii(path.substr(dot + 1));
    if (ext == "cls") return VbModuleKind::Class;
    if (ext == "frm") return VbModuleKind::Form;
    if (ext == "ctl") return VbModuleKind::UserControl;
    if (ext == "pag") return VbModuleKind::PropertyPage;
    if (ext == "dob") return VbModuleKind::UserDocument;
    if (ext == "dsr") return VbModuleKind::Designer;
    return VbModuleKind::Standard;
}

std::string ResolvePathNoCase(const std::string& path) {
    if (path.empty() || Exists(path)) return path;
    std::string resolved = path.front() == '/' ? "" : ".";
    std::size_t pos = path.front() == '/' ? 1 : 0;
    while (pos <= path.size()) {
        auto next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        std::string part = path.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty() || part == ".") continue;
        std::string candidate = resolved + "/" + part;
        if (part != ".." && !Exists(candidate)) {
            DIR* dir = ::opendir(resolved.empty() ? "/" : resolved.c_str());
            if (!dir) return path;
            std::string want = ToLowerAscii(part), found;
            while (dirent* e = ::readdir(dir)) {
                if (ToLowerAscii(e->d_name) == want) {
                    found = e->d_name;
                    break;
                }
            }
            ::closedir(dir);
            if (found.empty()) return path;
            candidate = resolved + "/" + found;
        }
        resolved = std::move(candidate);
    }
    if (path.front() != '/' && resolved.starts_with("./")) resolved.erase(0, 2);
    return resolved;
}

Result<VbModule> LoadVbModule(const std::string& path, VbModuleKind kind, EncodingChoice choice) {
    auto bytes = ReadRegularFile(path);
    if (!bytes) return Failure{bytes.error()};
    VbModule m;
    m.kind = kind;
    m.path = path;
    m.file = VbModuleFile::Parse(*bytes, choice);
    m.name = m.file.Name().empty() ? StemOf(path) : m.file.Name();
    return m;
}

Result<VbModule> LoadVbModule(const std::string& path) {
    return LoadVbModule(path, ModuleKindOfPath(path));
}

Result<VbProject> LoadVbProject(const std::string& vbpPath, EncodingChoice choice) {
    auto bytes = ReadRegularFile(vbpPath);
    if (!bytes) return Failure{bytes.error()};
    VbProject project;
    project.path = vbpPath;
    project.name = StemOf(vbpPath);
    const std::string dir = DirOf(vbpPath);
    for (const auto& [key, value] : KeyValues(DecodeText(*bytes, choice))) {
        std::string k = ToLowerAscii(key);
        if (k == "name") {
            project.name = Unquote(value);
            continue;
        }
        if (k == "type") {
            project.type = value;
            continue;
        }
        ModuleEntry entry{};
        if (!EntryOfKey(key, &entry)) continue;
        std::string declaredName, file = value;
        if (entry.named) {
            auto semi = value.find(';');
            if (semi != std::string::npos) {
                declaredName = Trim(std::string_view(value).substr(0, semi));
                file = Trim(std::string_view(value).substr(semi + 1));
            }
        }
        std::string path = ProjectRelative(dir, file);
        // A name the project wrote in CP932 is decoded; the file on disk may still carry
        // the CP932 bytes as its name.
        bool rawName = false;
        if (!Exists(path) && !IsAscii(file)) {
            const std::string raw = ProjectRelative(dir, EncodeCp932(file));
            rawName = Exists(raw);
            if (rawName) path = raw;
        }
        auto module = LoadVbModule(path, entry.kind, choice);
        if (!module) {
            project.problems.push_back(path + ": " + module.error());
            continue;
        }
        if (module->file.Name().empty()) {
            if (!declaredName.empty()) {
                module->name = declaredName;
            } else if (rawName) {
                std::string decoded = file;  // the stem as decoded, not the raw bytes
                std::replace(decoded.begin(), decoded.end(), '\\', '/');
                module->name = StemOf(decoded);
            }
        }
        project.modules.push_back(std::move(*module));
    }
    return project;
}

Result<VbProjectGroup> LoadVbGroup(const std::string& vbgPath, EncodingChoice choice) {
    auto bytes = ReadRegularFile(vbgPath);
    if (!bytes) return Failure{bytes.error()};
    VbProjectGroup group;
    const std::string dir = DirOf(vbgPath);
    std::vector<std::string> problems;
    for (const auto& [key, value] : KeyValues(DecodeText(*bytes, choice))) {
        std::string k = ToLowerAscii(key);
        if (k != "project" && k != "startupproject") continue;
        auto project = LoadVbProject(ProjectRelative(dir, Unquote(value)), choice);
        if (!project) {
            problems.push_back(project.error());
            continue;
        }
        if (k == "startupproject") group.startup = group.projects.size();
        group.projects.push_back(std::move(*project));
    }
    if (group.projects.empty()) {
        std::string why = vbgPath + ": no project could be read";
        for (const auto& p : problems) why += "; " + p;
        return Failure{why};
    }
    // Projects that could not be read are reported with the startup project.
    auto& first = group.projects[group.startup].problems;
    first.insert(first.end(), problems.begin(), problems.end());
    return group;
}

Result<VbProjectGroup> LoadVbAny(const std::string& path, EncodingChoice choice) {
    std::string resolved = ResolvePathNoCase(path);
    auto dot = resolved.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : ToLowerAscii(resolved.substr(dot + 1));
    if (ext == "vbg") return LoadVbGroup(resolved, choice);
    VbProjectGroup group;
    if (ext == "vbp") {
        auto project = LoadVbProject(resolved, choice);
        if (!project) return Failure{project.error()};
        group.projects.push_back(std::move(*project));
        return group;
    }
    auto module = LoadVbModule(resolved, ModuleKindOfPath(resolved), choice);
    if (!module) return Failure{module.error()};
    VbProject project;
    project.name = module->name;
    project.path = resolved;
    project.modules.push_back(std::move(*module));
    group.projects.push_back(std::move(project));
    return group;
}

}  // namespace trawlex
