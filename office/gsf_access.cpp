#include "office/gsf_access.h"

#include <algorithm>
#include <mutex>

#include "base/ascii_case.h"

namespace trawlex::office {
namespace {

void IgnoreLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf's complaints about damaged files without a log domain; criticals of others still
// reach the default handler.
void IgnoreWarnings(const gchar* domain, GLogLevelFlags level, const gchar* message,
                    gpointer data) {
    if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL)) != 0)
        g_log_default_handler(domain, level, message, data);
}

void IgnorePrint(const gchar*) {}

}  // namespace

void GObjectUnref::operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
}

void EnsureGsfReady() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // Damaged documents are reported by the reader; libgsf's own complaints would
        // only clutter the output of a search.
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", "libgsf:open_pkg"}) {
            g_log_set_handler(domain,
                              static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL |
                                                          G_LOG_FLAG_RECURSION),
                              IgnoreLogMessage, nullptr);
        }
        g_log_set_handler(nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), IgnoreWarnings,
                          nullptr);
        // The zip reader prints the header it expected on a damaged package.
        g_set_printerr_handler(IgnorePrint);
    });
}

GsfPtr<GsfInput> MemoryInput(std::string_view bytes) {
    EnsureGsfReady();
    return GsfPtr<GsfInput>(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                                 static_cast<gsf_off_t>(bytes.size()), FALSE));
}

GsfPtr<GsfInfile> OpenCompoundFile(GsfInput* input) {
    if (input == nullptr || gsf_input_seek(input, 0, G_SEEK_SET)) return nullptr;
    return GsfPtr<GsfInfile>(gsf_infile_msole_new(input, nullptr));
}

GsfPtr<GsfInfile> OpenZipPackage(GsfInput* input) {
    if (input == nullptr || gsf_input_seek(input, 0, G_SEEK_SET)) return nullptr;
    return GsfPtr<GsfInfile>(gsf_infile_zip_new(input, nullptr));
}

GsfPtr<GsfInput> ChildNamed(GsfInfile* parent, std::string_view name) {
    if (parent == nullptr) return nullptr;
    const int count = gsf_infile_num_children(parent);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(parent, i);
        if (childName == nullptr || !EqualsIgnoringCase(childName, name)) continue;
        return GsfPtr<GsfInput>(gsf_infile_child_by_index(parent, i));
    }
    return nullptr;
}

GsfPtr<GsfInfile> StorageNamed(GsfInfile* parent, std::string_view name) {
    GsfPtr<GsfInput> child = ChildNamed(parent, name);
    if (!child || !GSF_IS_INFILE(child.get())) return nullptr;
    // A stream of a compound file is an infile too; a storage is one with children.
    if (gsf_infile_num_children(GSF_INFILE(child.get())) < 0) return nullptr;
    return GsfPtr<GsfInfile>(GSF_INFILE(child.release()));
}

Result<std::string> ReadAll(GsfInput* input) {
    const gsf_off_t size = gsf_input_size(input);
    if (size < 0) return Failure{"stream of unknown size"};
    if (static_cast<std::uint64_t>(size) > kMaxStreamBytes) return Failure{"stream too large"};
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    if (gsf_input_seek(input, 0, G_SEEK_SET)) return Failure{"stream cannot be read"};
    while (gsf_input_remaining(input) > 0) {
        const std::size_t step =
            static_cast<std::size_t>(std::min<gsf_off_t>(gsf_input_remaining(input), 1 << 16));
        const guint8* data = gsf_input_read(input, step, nullptr);
        if (data == nullptr) return Failure{"stream cut short"};
        bytes.append(reinterpret_cast<const char*>(data), step);
    }
    return bytes;
}

}  // namespace trawlex::office
