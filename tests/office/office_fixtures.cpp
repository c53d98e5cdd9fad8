#include "office_fixtures.h"

#include <gsf/gsf.h>
#include <zlib.h>

#include <map>
#include <memory>
#include <stdexcept>

#include "base/text_decode.h"
#include "base/utf16_codec.h"

namespace trawlex::office::test {
namespace {

void PutLe(std::string& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void Record(std::string& out, std::uint16_t id, std::string_view data) {
    PutLe(out, id, 2);
    PutLe(out, static_cast<std::uint32_t>(data.size()), 4);
    out.append(data);
}

std::string Le(std::uint32_t value, int size) {
    std::string out;
    PutLe(out, value, size);
    return out;
}

// Compresses one chunk of at most 4096 bytes.
std::string CompressChunk(std::string_view chunk) {
    std::string tokens;
    std::size_t at = 0;
    while (at < chunk.size()) {
        const std::size_t flagAt = tokens.size();
        tokens.push_back('\0');
        unsigned char flags = 0;
        for (int bit = 0; bit < 8 && at < chunk.size(); ++bit) {
            unsigned offsetBits = 4;
            while ((std::size_t{1} << offsetBits) < at) ++offsetBits;
            const std::size_t maxLength = (0xFFFFu >> offsetBits) + 3;
            const std::size_t maxOffset = std::size_t{1} << offsetBits;
            std::size_t bestLength = 0, bestOffset = 0;
            for (std::size_t offset = 1; offset <= std::min(at, maxOffset); ++offset) {
                std::size_t length = 0;
                while (at + length < chunk.size() && length < maxLength &&
                       chunk[at + length] == chunk[at + length - offset])
                    ++length;
                if (length > bestLength) bestLength = length, bestOffset = offset;
            }
            if (bestLength >= 3) {
                flags |= static_cast<unsigned char>(1u << bit);
                PutLe(tokens,
                      static_cast<std::uint32_t>(((bestOffset - 1) << (16 - offsetBits)) |
                                                 (bestLength - 3)),
                      2);
                at += bestLength;
            } else {
                tokens.push_back(chunk[at++]);
            }
        }
        tokens[flagAt] = static_cast<char>(flags);
    }
    if (tokens.size() > 4096) throw std::runtime_error("chunk does not compress");
    std::string out;
    PutLe(out, 0xB000u | static_cast<std::uint32_t>(tokens.size() + 2 - 3), 2);
    return out + tokens;
}

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};

// Folders of the entries as a tree, written depth first.
struct Folder {
    std::map<std::string, std::string> streams;
    std::map<std::string, Folder> folders;
};

void WriteFolder(GsfOutfile* out, const Folder& folder) {
    for (const auto& [name, bytes] : folder.streams) {
        GsfOutput* child = gsf_outfile_new_child(out, name.c_str(), FALSE);
        gsf_output_write(child, bytes.size(), reinterpret_cast<const guint8*>(bytes.data()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    for (const auto& [name, sub] : folder.folders) {
        GsfOutput* child = gsf_outfile_new_child(out, name.c_str(), TRUE);
        WriteFolder(GSF_OUTFILE(child), sub);
        gsf_output_close(child);
        g_object_unref(child);
    }
}

template <typename MakeOutfile>
std::string WriteContainer(const Entries& entries, MakeOutfile make) {
    Folder root;
    for (const auto& [path, bytes] : entries) {
        Folder* folder = &root;
        std::string_view rest = path;
        for (std::size_t slash; (slash = rest.find('/')) != std::string_view::npos;) {
            folder = &folder->folders[std::string(rest.substr(0, slash))];
            rest.remove_prefix(slash + 1);
        }
        folder->streams[std::string(rest)] = bytes;
    }
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* outfile = make(memory);
    if (outfile == nullptr) throw std::runtime_error("libgsf cannot write the container");
    WriteFolder(outfile, root);
    gsf_output_close(GSF_OUTPUT(outfile));
    g_object_unref(outfile);
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    std::string bytes(reinterpret_cast<const char*>(data),
                      static_cast<std::size_t>(gsf_output_size(memory)));
    g_object_unref(memory);
    return bytes;
}

std::string DirStream(const FixtureProject& project) {
    std::string dir;
    Record(dir, 0x0001, Le(1, 4));                 // PROJECTSYSKIND: Win32
    Record(dir, 0x0002, Le(0x0409, 4));            // PROJECTLCID
    Record(dir, 0x0014, Le(0x0409, 4));            // PROJECTLCIDINVOKE
    Record(dir, 0x0003, Le(project.codePage, 2));  // PROJECTCODEPAGE
    Record(dir, 0x0004, "VBAProject");             // PROJECTNAME
    Record(dir, 0x0005, "");                       // PROJECTDOCSTRING
    Record(dir, 0x0040, "");
    Record(dir, 0x0006, "");  // PROJECTHELPFILEPATH
    Record(dir, 0x003D, "");
    Record(dir, 0x0007, Le(0, 4));  // PROJECTHELPCONTEXT
    Record(dir, 0x0008, Le(0, 4));  // PROJECTLIBFLAGS
    // PROJECTVERSION: its size field says 4, yet six bytes follow.
    dir += Le(0x0009, 2) + Le(4, 4) + Le(0x5A3A18E2, 4) + Le(0x0006, 2);
    Record(dir, 0x000C, "");  // PROJECTCONSTANTS
    Record(dir, 0x003C, "");
    Record(dir, 0x000F, Le(static_cast<std::uint32_t>(project.modules.size()), 2));
    Record(dir, 0x0013, Le(0xFFFF, 2));  // PROJECTCOOKIE
    for (const FixtureModule& module : project.modules) {
        Record(dir, 0x0019, module.name);
        if (project.unicodeNames) Record(dir, 0x0047, EncodeUtf16(module.name, true));
        Record(dir, 0x001A, module.name);
        if (project.unicodeNames) Record(dir, 0x0032, EncodeUtf16(module.name, true));
        Record(dir, 0x001C, "");  // MODULEDOCSTRING
        Record(dir, 0x0048, "");
        Record(dir, 0x0031, Le(static_cast<std::uint32_t>(module.cache.size()), 4));
        Record(dir, 0x001E, Le(0, 4));       // MODULEHELPCONTEXT
        Record(dir, 0x002C, Le(0xFFFF, 2));  // MODULECOOKIE
        Record(dir, module.procedural ? 0x0021 : 0x0022, "");
        Record(dir, 0x002B, "");  // module terminator
    }
    Record(dir, 0x0010, "");
    return dir;
}

std::string Deflate(std::string_view data, bool finish) {
    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK) throw std::runtime_error("zlib");
    std::string out(deflateBound(&stream, data.size()) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, finish ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string CompressContainer(std::string_view data) {
    std::string out = "\x01";
    for (std::size_t at = 0; at < data.size(); at += 4096)
        out += CompressChunk(data.substr(at, 4096));
    return out;
}

std::string WriteCompoundFile(const Entries& entries) {
    return WriteContainer(entries, [](GsfOutput* sink) { return gsf_outfile_msole_new(sink); });
}

std::string WriteZip(const Entries& entries) {
    return WriteContainer(entries,
                          [](GsfOutput* sink) { return gsf_outfile_zip_new(sink, nullptr); });
}

Entries VbaProjectEntries(const FixtureProject& project, const std::string& prefix) {
    Entries entries;
    std::string projectText = "ID=\"{00000000-0000-0000-0000-000000000000}\"\r\n";
    for (const FixtureModule& module : project.modules)
        projectText += (module.procedural ? "Module=" : "Document=") + module.name + "\r\n";
    entries.emplace_back(prefix + "PROJECT", projectText);
    entries.emplace_back(prefix + "VBA/_VBA_PROJECT",
                         std::string("\xCC\x61\xFF\xFF\x00\x00\x00", 7));
    entries.emplace_back(prefix + "VBA/dir", CompressContainer(DirStream(project)));
    for (const FixtureModule& module : project.modules)
        // The compound file names its streams in Unicode.
        entries.emplace_back(prefix + "VBA/" + DecodeText(module.name),
                             module.cache + CompressContainer(module.source));
    return entries;
}

std::string VbaProjectBin(const FixtureProject& project) {
    return WriteCompoundFile(VbaProjectEntries(project));
}

std::string BinaryWorkbook(const FixtureProject& project) {
    Entries entries = VbaProjectEntries(project, "_VBA_PROJECT_CUR/");
    entries.emplace_back("Workbook", std::string(512, '\0'));
    return WriteCompoundFile(entries);
}

std::string MacroWorkbook(const FixtureProject& project) {
    return WriteZip({{"[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>"},
                     {"xl/workbook.xml", "<?xml version=\"1.0\"?><workbook/>"},
                     {"xl/vbaProject.bin", VbaProjectBin(project)}});
}

std::string BinaryPresentation(const FixtureProject& project, bool withoutFinalBlock) {
    return PresentationWith({VbaProjectBin(project)}, withoutFinalBlock);
}

std::string PresentationWith(const std::vector<std::string>& storages, bool withoutFinalBlock) {
    std::string stream;
    // A document container with an atom in it, then the compressed storage records.
    std::string atom = Le(0x0000, 2) + Le(0x03E9, 2) + Le(8, 4) + std::string(8, '\x01');
    stream += Le(0x000F, 2) + Le(0x03E8, 2) + Le(static_cast<std::uint32_t>(atom.size()), 4) + atom;
    for (const std::string& storage : storages) {
        std::string body = Le(static_cast<std::uint32_t>(storage.size()), 4) +
                           Deflate(storage, !withoutFinalBlock);
        stream +=
            Le(0x0010, 2) + Le(0x1011, 2) + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
    }
    return WriteCompoundFile(
        {{"PowerPoint Document", stream}, {"Current User", std::string(20, '\0')}});
}

std::string ModuleSource(std::string_view name, std::string_view code) {
    return "Attribute VB_Name = \"" + std::string(name) + "\"\r\n" + std::string(code);
}

}  // namespace trawlex::office::test
