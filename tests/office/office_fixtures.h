#pragma once
// Office documents built in the test: VBA project storages written through libgsf as the
// Office applications lay them out, with their dir stream and module source compressed.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trawlex::office::test {

// Compresses `data` into a compressed container: literal bytes and copy tokens, longest
// match first, every chunk compressed.
std::string CompressContainer(std::string_view data);

struct FixtureModule {
    std::string name;    // in the project's code page
    std::string source;  // the stored source, Attribute lines included, in the code page
    bool procedural = true;
    std::string cache = std::string(37, '\xCC');  // bytes standing before the source
};

struct FixtureProject {
    std::vector<FixtureModule> modules;
    std::uint16_t codePage = 1252;
    bool unicodeNames = true;  // write the Unicode name records too
};

// Streams of a compound file by path ("VBA/dir"); storages are made for the folders.
using Entries = std::vector<std::pair<std::string, std::string>>;

std::string WriteCompoundFile(const Entries& entries);
std::string WriteZip(const Entries& entries);

// The streams of a VBA project storage ("PROJECT", "VBA/dir", "VBA/<module>" ...), each
// path starting with `prefix`.
Entries VbaProjectEntries(const FixtureProject& project, const std::string& prefix = "");

// vbaProject.bin, a binary workbook (.xls) and a macro-enabled workbook (.xlsm).
std::string VbaProjectBin(const FixtureProject& project);
std::string BinaryWorkbook(const FixtureProject& project);
std::string MacroWorkbook(const FixtureProject& project);

// A binary presentation (.ppt) whose project sits zlib-compressed in an ExOleObjStg
// record; with `withoutFinalBlock` the zlib data ends without its final block.
std::string BinaryPresentation(const FixtureProject& project, bool withoutFinalBlock);
// A binary presentation with one compressed ExOleObjStg record per storage, in order.
std::string PresentationWith(const std::vector<std::string>& storages, bool withoutFinalBlock);

// A standard module's stored source: the Attribute VB_Name line, then `code`.
std::string ModuleSource(std::string_view name, std::string_view code);

}  // namespace trawlex::office::test
