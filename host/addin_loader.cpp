#include "host/addin_loader.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "platform/registry.h"

namespace trawlex::platform {

namespace {

using CreateAddinFunction = host::AddinInstance* (*)(const char*);

std::string ClassKey(std::string_view progId) {
    return "HKCU\\Software\\Classes\\" + std::string(progId) + "\\";
}

Status CheckProgId(std::string_view progId) {
    if (progId.empty()) return Failure{"the ProgID is empty"};
    if (progId.find('\\') != std::string_view::npos) {
        return Failure{"the ProgID \"" + std::string(progId) + "\" holds a backslash"};
    }
    return {};
}

std::string DlErrorText() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

}  // namespace

LoadedAddin::LoadedAddin(std::unique_ptr<host::AddinInstance> addin, void* libraryHandle)
    : addin_(std::move(addin)), library_(libraryHandle) {}

LoadedAddin::LoadedAddin(LoadedAddin&& other) noexcept
    : addin_(std::move(other.addin_)), library_(other.library_) {
    other.library_ = nullptr;
}

LoadedAddin& LoadedAddin::operator=(LoadedAddin&& other) noexcept {
    if (this != &other) {
        reset();
        addin_ = std::move(other.addin_);
        library_ = other.library_;
        other.library_ = nullptr;
    }
    return *this;
}

LoadedAddin::~LoadedAddin() {
    reset();
}

void LoadedAddin::reset() {
    addin_.reset();  // the object's code lives in the library: destroy it first
    if (library_) dlclose(library_);
    library_ = nullptr;
}

Result<std::string> ClassLibraryPath(std::string_view progId) {
    if (Status ok = CheckProgId(progId); !ok) return Failure{ok.error()};
    Result<std::string> path = RegRead(ClassKey(progId) + "InprocServer32\\");
    if (!path || path->empty()) {
        return Failure{"the add-in class \"" + std::string(progId) + "\" is not registered (no " +
                       ClassKey(progId) + "InprocServer32 record)"};
    }
    return path;
}

Result<LoadedAddin> LoadAddin(std::string_view progId) {
    Result<std::string> path = ClassLibraryPath(progId);
    if (!path) return Failure{path.error()};
    // A relative path would load whatever the current folder holds, and dlopen on a pipe
    // waits for a writer for ever.
    if (path->front() != '/') {
        return Failure{"the library path of \"" + std::string(progId) +
                       "\" is not absolute: " + *path};
    }
    struct stat info {};
    if (stat(path->c_str(), &info) != 0) {
        return Failure{"the library of \"" + std::string(progId) + "\" is missing: " + *path};
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure{"the library of \"" + std::string(progId) +
                       "\" is not a regular file: " + *path};
    }
    dlerror();
    void* library = dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return Failure{*path + " is not a loadable add-in library: " + DlErrorText()};
    }
    auto create = reinterpret_cast<CreateAddinFunction>(dlsym(library, "TrawlexCreateAddin"));
    if (!create) {
        dlclose(library);
        return Failure{*path + " does not export TrawlexCreateAddin"};
    }
    const std::string id(progId);
    std::unique_ptr<host::AddinInstance> addin(create(id.c_str()));
    if (!addin) {
        dlclose(library);
        return Failure{*path + " created no add-in object for \"" + id + "\""};
    }
    return LoadedAddin(std::move(addin), library);
}

Status RegisterClass(std::string_view progId, std::string_view libraryPath) {
    if (Status ok = CheckProgId(progId); !ok) return ok;
    if (libraryPath.empty() || libraryPath.front() != '/') {
        return Failure{"the library path \"" + std::string(libraryPath) + "\" is not absolute"};
    }
    return RegWrite(ClassKey(progId) + "InprocServer32\\", libraryPath, "REG_SZ");
}

Status UnregisterClass(std::string_view progId) {
    if (Status ok = CheckProgId(progId); !ok) return ok;
    return RegDeleteTree(ClassKey(progId));
}

std::string ThisLibraryPath(const void* symbolInLibrary) {
    Dl_info info{};
    if (!dladdr(symbolInLibrary, &info) || !info.dli_fname || !*info.dli_fname) return {};
    char resolved[PATH_MAX];
    if (!realpath(info.dli_fname, resolved)) return {};
    return resolved;
}

}  // namespace trawlex::platform
