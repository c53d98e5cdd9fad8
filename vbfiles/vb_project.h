#pragma once
// Reads VB6 projects (.vbp), project groups (.vbg) and single module files into modules
// with their visible code, for the host editor and the command-line grep alike.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "vbfiles/vb_module_file.h"

namespace trawlex {

enum class VbModuleKind {
    Standard,      // Module=, .bas
    Class,         // Class=, .cls
    Form,          // Form=, .frm
    UserControl,   // UserControl=, .ctl
    PropertyPage,  // PropertyPage=, .pag
    UserDocument,  // UserDocument=, .dob
    Designer,      // Designer=, .dsr
};

struct VbModule {
    VbModuleKind kind = VbModuleKind::Standard;
    std::string name;  // VB_Name of the file, else the project's name for it, else the stem
    std::string path;  // the file on disk
    VbModuleFile file;
    // The code as the host's `Lines` returns it: visible lines joined by CR LF.
    std::string Text() const { return file.VisibleText("\r\n"); }
};

struct VbProject {
    std::string name;               // Name= of the .vbp (quotes removed), else the file's stem
    std::string type;               // Type= (Exe, OleDll, Control, ...), empty for a lone module
    std::string path;               // the .vbp, or the module file for a lone module
    std::vector<VbModule> modules;  // in the order the project lists them
    // One line per module that could not be read ("path: reason"); the rest still load.
    std::vector<std::string> problems;
};

struct VbProjectGroup {
    std::vector<VbProject> projects;  // in the order the group lists them
    std::size_t startup = 0;          // index of StartupProject
};

// The kind a module file's extension stands for; Standard when unknown.
VbModuleKind ModuleKindOfPath(std::string_view path);

// `path` as it exists on disk: a missing component is matched ignoring ASCII case, the
// way Windows would find it. Returns the path unchanged when nothing matches.
std::string ResolvePathNoCase(const std::string& path);

// `choice` tells how files without a BOM are read: the project files and every module.
Result<VbModule> LoadVbModule(const std::string& path, VbModuleKind kind,
                              EncodingChoice choice = EncodingChoice::Auto);
Result<VbModule> LoadVbModule(const std::string& path);
Result<VbProject> LoadVbProject(const std::string& vbpPath,
                                EncodingChoice choice = EncodingChoice::Auto);
Result<VbProjectGroup> LoadVbGroup(const std::string& vbgPath,
                                   EncodingChoice choice = EncodingChoice::Auto);
// A .vbp, a .vbg or a module file, chosen by extension. A lone module makes a project of
// its own named after the module.
Result<VbProjectGroup> LoadVbAny(const std::string& path,
                                 EncodingChoice choice = EncodingChoice::Auto);

}  // namespace trawlex
