#pragma once
// Result rows of modules inside Office documents, in the search window: the row's name is
// "document path|module" and its module field names the module; a jump opens the module's
// text from a read-only temporary .bas file.

#include <string>

#include "base/result.h"
#include "search/search_types.h"

namespace trawlex::window {

// The document's path of a row that names a module inside a document.
std::string DocumentPathOf(const ResultRow& row);

// Reads the module out of the document afresh and writes its text, as the Visual Basic
// Editor shows it (so the row's line number is its line), to a new read-only file
// "<module>.bas" in a temporary folder of this process. Returns the file's path.
Result<std::string> ExtractModuleToTempFile(const std::string& documentPath,
                                            const std::string& module);

}  // namespace trawlex::window
