#include "host/self_registration.h"

#include "host/addin_loader.h"
#include "platform/registry.h"

namespace trawlex::host {

namespace {

constexpr const char* kVb6AddinsKey = "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\";
constexpr int kLoadAtStartup = 1;
constexpr int kNotCommandLineSafe = 0;

Status WriteValue(const std::string& key, const char* name, std::string_view value,
                  const char* type = "REG_SZ") {
    Status written = platform::RegWrite(key + name, value, type);
    if (!written) return Failure{"cannot write " + key + name + ": " + written.error()};
    return written;
}

}  // namespace

std::string Vb6AddinKey(std::string_view progId) {
    return std::string(kVb6AddinsKey) + std::string(progId) + "\\";
}

std::string ProductDescription() {
    const std::string crlf = "\r\n";
    return std::string(
               "Trawlex Plus は、Visual Basic 6.0、 Office\r 2000以降のVisual Basic Editorで") +
           crlf + "リッチなGrep検索をするツールです。 ファイル検索をすることもできます。" + crlf +
           "直感的なインターフェースで、コーディングの作業効率を飛躍的に向上します。" + crlf +
           crlf + "詳しくはサポートページ" + kSupportPageUrl + " をご覧下さい。";
}

Status RegisterAddinLibrary(std::string_view progId, std::string_view libraryPath) {
    if (Status classWritten = platform::RegisterClass(progId, libraryPath); !classWritten) {
        return classWritten;
    }
    const std::string key = Vb6AddinKey(progId);
    Status written = WriteValue(key, "FriendlyName", kProductName);
    if (written) written = WriteValue(key, "Description", ProductDescription());
    if (written) {
        written = WriteValue(key, "LoadBehavior", std::to_string(kLoadAtStartup), "REG_DWORD");
    }
    if (written) {
        written =
            WriteValue(key, "CommandLineSafe", std::to_string(kNotCommandLineSafe), "REG_DWORD");
    }
    return written;
}

Status RegisterLibraryOf(std::string_view progId, const void* symbolInLibrary) {
    const std::string path = platform::ThisLibraryPath(symbolInLibrary);
    if (path.empty())
        return Failure{"cannot tell where the library of " + std::string(progId) + " is"};
    return RegisterAddinLibrary(progId, path);
}

Status UnregisterAddinLibrary(std::string_view progId) {
    const std::string addinKey = Vb6AddinKey(progId);
    // Each removal is attempted; what counts is that neither record is left.
    Status classRemoved = platform::UnregisterClass(progId);
    Status addinRemoved = platform::RegDeleteTree(addinKey);
    if (platform::ClassLibraryPath(progId)) {
        return Failure{"cannot remove the class record of " + std::string(progId) + ": " +
                       classRemoved.error()};
    }
    if (platform::RegKeyExists(addinKey)) {
        return Failure{"cannot remove the add-in record " + addinKey + ": " + addinRemoved.error()};
    }
    return {};
}

}  // namespace trawlex::host
