// trawlex-addin-check PATH: tells whether PATH is an add-in library of this system. It loads
// the library in this process (never in the editor's), looks for the three entry points and
// asks it for the main add-in's object. Exit status: 0 an add-in library, 1 usage, 2 not
// loadable, 3 an entry point missing, 4 no add-in object for "Trawlex.Connect".

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/addin_instance.h"
#include "updater/library_check.h"

namespace {

using trawlex::updater::CheckExit;

[[noreturn]] void Exit(CheckExit code, const std::string& message) {
    if (!message.empty()) std::fprintf(stderr, "trawlex-addin-check: %s\n", message.c_str());
    std::fflush(stderr);
    // Straight out: the checked library's exit handlers never run here.
    std::_Exit(static_cast<int>(code));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Exit(CheckExit::Usage, "usage: trawlex-addin-check PATH");
    const std::string path = argv[1];
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* error = dlerror();
        Exit(CheckExit::NotLoadable, error ? error : "cannot load " + path);
    }
    for (const char* entry : {"DllRegisterServer", "DllUnregisterServer", "TrawlexCreateAddin"}) {
        if (!dlsym(library, entry)) {
            Exit(CheckExit::EntryPointMissing, path + " does not export " + entry);
        }
    }
    auto create = reinterpret_cast<trawlex::host::AddinInstance* (*)(const char*)>(
        dlsym(library, "TrawlexCreateAddin"));
    trawlex::host::AddinInstance* addin = create(trawlex::updater::kMainProgId);
    if (!addin) {
        Exit(CheckExit::NoAddinObject,
             path + " makes no add-in object for " + trawlex::updater::kMainProgId);
    }
    Exit(CheckExit::AddinLibrary, "");
}
