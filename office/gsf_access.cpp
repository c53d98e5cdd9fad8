#include "office/gsf_access.h"

#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <string>

#include "base/ascii_case.h"

namespace trawlex::office {
namespace {

// The functions of libgsf (and of the GLib libraries it loads) the reader calls, looked up
// when the library is loaded.
struct GsfApi {
    decltype(&gsf_init) init = nullptr;
    decltype(&gsf_input_memory_new) input_memory_new = nullptr;
    decltype(&gsf_input_seek) input_seek = nullptr;
    decltype(&gsf_input_size) input_size = nullptr;
    decltype(&gsf_input_remaining) input_remaining = nullptr;
    decltype(&gsf_input_read) input_read = nullptr;
    decltype(&gsf_infile_msole_new) infile_msole_new = nullptr;
    decltype(&gsf_infile_zip_new) infile_zip_new = nullptr;
    decltype(&gsf_infile_num_children) infile_num_children = nullptr;
    decltype(&gsf_infile_name_by_index) infile_name_by_index = nullptr;
    decltype(&gsf_infile_child_by_index) infile_child_by_index = nullptr;
    decltype(&gsf_infile_get_type) infile_get_type = nullptr;
    decltype(&g_type_check_instance_is_a) type_check_instance_is_a = nullptr;
    decltype(&g_object_unref) object_unref = nullptr;
    decltype(&g_log_set_handler) log_set_handler = nullptr;
    decltype(&g_log_default_handler) log_default_handler = nullptr;
    decltype(&g_set_printerr_handler) set_printerr_handler = nullptr;
    std::string error;  // why the library could not be loaded; empty once it is
};

template <typename Function>
void LookUp(void* library, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && error.empty())
        error = std::string(TRAWLEX_GSF_SONAME) + ": no " + name;
}

GsfApi Load() {
    GsfApi api;
    void* library = ::dlopen(TRAWLEX_GSF_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        api.error = reason ? reason : TRAWLEX_GSF_SONAME ": cannot be loaded";
        return api;
    }
    // Never unloaded: GLib's types stay registered for the life of the process.
    std::string& error = api.error;
    LookUp(library, "gsf_init", api.init, error);
    LookUp(library, "gsf_input_memory_new", api.input_memory_new, error);
    LookUp(library, "gsf_input_seek", api.input_seek, error);
    LookUp(library, "gsf_input_size", api.input_size, error);
    LookUp(library, "gsf_input_remaining", api.input_remaining, error);
    LookUp(library, "gsf_input_read", api.input_read, error);
    LookUp(library, "gsf_infile_msole_new", api.infile_msole_new, error);
    LookUp(library, "gsf_infile_zip_new", api.infile_zip_new, error);
    LookUp(library, "gsf_infile_num_children", api.infile_num_children, error);
    LookUp(library, "gsf_infile_name_by_index", api.infile_name_by_index, error);
    LookUp(library, "gsf_infile_child_by_index", api.infile_child_by_index, error);
    LookUp(library, "gsf_infile_get_type", api.infile_get_type, error);
    LookUp(library, "g_type_check_instance_is_a", api.type_check_instance_is_a, error);
    LookUp(library, "g_object_unref", api.object_unref, error);
    LookUp(library, "g_log_set_handler", api.log_set_handler, error);
    LookUp(library, "g_log_default_handler", api.log_default_handler, error);
    LookUp(library, "g_set_printerr_handler", api.set_printerr_handler, error);
    return api;
}

const GsfApi& Api() {
    static const GsfApi api = Load();
    return api;
}

void IgnoreLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf's complaints about damaged files without a log domain; criticals of others still
// reach the default handler.
void IgnoreWarnings(const gchar* domain, GLogLevelFlags level, const gchar* message,
                    gpointer data) {
    if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL)) != 0)
        Api().log_default_handler(domain, level, message, data);
}

void IgnorePrint(const gchar*) {}

}  // namespace

void GObjectUnref::operator()(void* object) const {
    // An object exists only once the library is loaded.
    if (object != nullptr) Api().object_unref(object);
}

void EnsureGsfReady() {
    const GsfApi& api = Api();
    if (!api.error.empty()) throw std::runtime_error(api.error);
    static std::once_flag once;
    std::call_once(once, [&api] {
        api.init();
        // Damaged documents are reported by the reader; libgsf's own complaints would
        // only clutter the output of a search.
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", "libgsf:open_pkg"}) {
            api.log_set_handler(domain,
                                static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL |
                                                            G_LOG_FLAG_RECURSION),
                                IgnoreLogMessage, nullptr);
        }
        api.log_set_handler(nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), IgnoreWarnings,
                            nullptr);
        // The zip reader prints the header it expected on a damaged package.
        api.set_printerr_handler(IgnorePrint);
    });
}

GsfPtr<GsfInput> MemoryInput(std::string_view bytes) {
    EnsureGsfReady();
    return GsfPtr<GsfInput>(Api().input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                                   static_cast<gsf_off_t>(bytes.size()), FALSE));
}

GsfPtr<GsfInfile> OpenCompoundFile(GsfInput* input) {
    if (input == nullptr || Api().input_seek(input, 0, G_SEEK_SET)) return nullptr;
    return GsfPtr<GsfInfile>(Api().infile_msole_new(input, nullptr));
}

GsfPtr<GsfInfile> OpenZipPackage(GsfInput* input) {
    if (input == nullptr || Api().input_seek(input, 0, G_SEEK_SET)) return nullptr;
    return GsfPtr<GsfInfile>(Api().infile_zip_new(input, nullptr));
}

int ChildCount(GsfInfile* parent) {
    return parent == nullptr ? 0 : Api().infile_num_children(parent);
}

GsfPtr<GsfInput> ChildAt(GsfInfile* parent, int index) {
    if (parent == nullptr) return nullptr;
    return GsfPtr<GsfInput>(Api().infile_child_by_index(parent, index));
}

GsfInfile* AsInfile(GsfInput* input) {
    if (input == nullptr) return nullptr;
    const GsfApi& api = Api();
    if (!api.type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(input),
                                      api.infile_get_type())) {
        return nullptr;
    }
    return reinterpret_cast<GsfInfile*>(input);
}

GsfPtr<GsfInput> ChildNamed(GsfInfile* parent, std::string_view name) {
    if (parent == nullptr) return nullptr;
    const int count = ChildCount(parent);
    for (int i = 0; i < count; ++i) {
        const char* childName = Api().infile_name_by_index(parent, i);
        if (childName == nullptr || !EqualsIgnoringCase(childName, name)) continue;
        return ChildAt(parent, i);
    }
    return nullptr;
}

GsfPtr<GsfInfile> StorageNamed(GsfInfile* parent, std::string_view name) {
    GsfPtr<GsfInput> child = ChildNamed(parent, name);
    GsfInfile* storage = AsInfile(child.get());
    // A stream of a compound file is an infile too; a storage is one with children.
    if (storage == nullptr || ChildCount(storage) < 0) return nullptr;
    child.release();
    return GsfPtr<GsfInfile>(storage);
}

Result<std::string> ReadAll(GsfInput* input) {
    const GsfApi& api = Api();
    const gsf_off_t size = api.input_size(input);
    if (size < 0) return Failure{"stream of unknown size"};
    if (static_cast<std::uint64_t>(size) > kMaxStreamBytes) return Failure{"stream too large"};
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    if (api.input_seek(input, 0, G_SEEK_SET)) return Failure{"stream cannot be read"};
    while (api.input_remaining(input) > 0) {
        const std::size_t step =
            static_cast<std::size_t>(std::min<gsf_off_t>(api.input_remaining(input), 1 << 16));
        const guint8* data = api.input_read(input, step, nullptr);
        if (data == nullptr) return Failure{"stream cut short"};
        bytes.append(reinterpret_cast<const char*>(data), step);
    }
    return bytes;
}

}  // namespace trawlex::office
