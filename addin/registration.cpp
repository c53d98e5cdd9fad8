#include "addin/registration.h"

#include "addin/product_info.h"
#include "host/addin_loader.h"
#include "platform/registry.h"

namespace trawlex::addin {

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

std::string Vb6AddinKey() {
    return std::string(kVb6AddinsKey) + kProgId + "\\";
}

std::string AddinDescription() {
    const std::string crlf = "\r\n";
    return std::string(
               "Trawlex Plus は、Visual Basic 6.0、 Office\r 2000以降のVisual Basic Editorで") +
           crlf + "リッチなGrep検索をするツールです。 ファイル検索をすることもできます。" + crlf +
           "直感的なインターフェースで、コーディングの作業効率を飛躍的に向上します。" + crlf +
           crlf + "詳しくはサポートページ" + kSupportPageUrl + " をご覧下さい。";
}

Status RegisterAddin(std::string_view libraryPath) {
    if (Status classWritten = platform::RegisterClass(kProgId, libraryPath); !classWritten) {
        return classWritten;
    }
    const std::string key = Vb6AddinKey();
    Status written = WriteValue(key, "FriendlyName", kTitle);
    if (written) written = WriteValue(key, "Description", AddinDescription());
    if (written) {
        written = WriteValue(key, "LoadBehavior", std::to_string(kLoadAtStartup), "REG_DWORD");
    }
    if (written) {
        written =
            WriteValue(key, "CommandLineSafe", std::to_string(kNotCommandLineSafe), "REG_DWORD");
    }
    return written;
}

Status UnregisterAddin() {
    const std::string addinKey = Vb6AddinKey();
    // Each removal is attempted; what counts is that neither record is left.
    Status classRemoved = platform::UnregisterClass(kProgId);
    Status addinRemoved = platform::RegDeleteTree(addinKey);
    if (platform::ClassLibraryPath(kProgId)) {
        return Failure{std::string("cannot remove the class record of ") + kProgId + ": " +
                       classRemoved.error()};
    }
    if (platform::RegKeyExists(addinKey)) {
        return Failure{"cannot remove the add-in record " + addinKey + ": " + addinRemoved.error()};
    }
    return {};
}

}  // namespace trawlex::addin
