#pragma once
// Add-in libraries: shared objects exporting DllRegisterServer, DllUnregisterServer and
// TrawlexCreateAddin (see host/addin_instance.h). Registration writes the class record
// HKCU\Software\Classes\<ProgID>\InprocServer32\ whose default value is the library's
// absolute path; the loader follows that record back to an add-in object.

#include <memory>
#include <string>
#include <string_view>

#include "host/addin_instance.h"
#include "base/result.h"

namespace trawlex::platform {

// An add-in object together with the library it came from. The object is destroyed
// before the library is unloaded.
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
    // Destroys the object, then unloads the library.
    void reset();

  private:
    std::unique_ptr<host::AddinInstance> addin_;
    void* library_ = nullptr;
};

// ProgID -> class record -> library -> TrawlexCreateAddin(progId).
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
