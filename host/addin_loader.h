#pragma once
// Add-in libraries: shared objects exporting DllRegisterServer, DllUnregisterServer and
// TrawlexCreateAddin (see host/addin_instance.h). Registration writes the class record
// HKCU\Software\Classes\<ProgID>\InprocServer32\ whose default value is the library's
// absolute path; the loader follows that record back to an add-in object.

#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"
#include "host/addin_instance.h"

namespace trawlex::platform {

// An add-in object together with the library it came from. Add-in libraries are never
// unmapped (see LoadAddin); resetting destroys the object and drops the library reference.
class LoadedAddin {
  public:
    LoadedAddin() = default;
    LoadedAddin(std::unique_ptr<host::AddinInstance> addin, void* libraryHandle);
    LoadedAddin(LoadedAddin&& other) noexcept;
    LoadedAddin& operator=(LoadedAddin&& other) noexcept;
    LoadedAddin(const LoadedAddin&) = delete;
    LoadedAddin& operator=(const LoadedAddin&) = delete;
    ~LoadedAddin();

    host::AddinInstance* get() const { return addin_.get(); }
    host::AddinInstance* operator->() const { return addin_.get(); }
    explicit operator bool() const { return addin_ != nullptr; }
    void reset();

  private:
    std::unique_ptr<host::AddinInstance> addin_;
    void* library_ = nullptr;
};

// ProgID -> class record -> library -> TrawlexCreateAddin(progId). Fails for a library
// built for another add-in interface version. The library stays mapped for the life of
// the process: loading it again after its object went reuses the same copy, its statics
// included.
Result<LoadedAddin> LoadAddin(std::string_view progId);

// The library path recorded for a ProgID.
Result<std::string> ClassLibraryPath(std::string_view progId);

// Writes / removes HKCU\Software\Classes\<ProgID> with its InprocServer32 record.
Status RegisterClass(std::string_view progId, std::string_view libraryPath);
Status UnregisterClass(std::string_view progId);

// Absolute path of the shared object (or program) that contains the given symbol;
// "" when it cannot be told.
std::string ThisLibraryPath(const void* symbolInLibrary);

}  // namespace trawlex::platform
