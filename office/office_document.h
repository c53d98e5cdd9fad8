#pragma once
// The VBA modules of an Office document, read without Office: binary documents (OLE2
// compound files: .xls .doc .ppt and their templates and add-ins), OOXML packages that
// carry a vbaProject.bin (.xlsm .docm .pptm ...), and a vbaProject.bin on its own.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace trawlex::office {

struct OfficeModule {
    std::string name;  // the module's name, UTF-8
    // The code as the Visual Basic Editor shows it: the Attribute lines hidden, lines
    // joined by CR LF, so line n of the text is line n of the editor.
    std::string text;
};

struct OfficeProject {
    std::vector<OfficeModule> modules;  // in the project's order
    // Modules that could not be read, each named, while the others were.
    std::vector<std::string> problems;
};

// Whether the name ends in one of the extensions of documents that can hold VBA,
// whatever the case.
bool IsOfficeDocumentName(std::string_view path);

// A document without a VBA project gives no modules. Fails for an encrypted package and
// for bytes that are neither a compound file nor a zip package.
Result<OfficeProject> ReadOfficeDocument(std::string_view bytes);

// The one module named `moduleName` (compared without regard to ASCII case); fails when
// the document cannot be read or holds no such module.
Result<OfficeModule> ReadOfficeModule(std::string_view bytes, std::string_view moduleName);

}  // namespace trawlex::office
