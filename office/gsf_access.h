#pragma once
// Small owning handles and helpers around libgsf's containers, for the office reader.

#include <gsf/gsf.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::office {

struct GObjectUnref {
    void operator()(void* object) const;
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

// The largest stream the reader takes in: far above any VBA project, small enough that a
// damaged size field cannot exhaust memory.
inline constexpr std::size_t kMaxStreamBytes = 64u << 20;

// libgsf loaded and set up once, its warnings about damaged files kept off stderr. It is
// loaded only when the first Office document is read, which spares every other search the
// cost of loading it and the libraries it needs. Throws std::runtime_error when it cannot be
// loaded.
void EnsureGsfReady();

// Bytes that stay alive while the returned input is used.
GsfPtr<GsfInput> MemoryInput(std::string_view bytes);

// An OLE2 compound file over the input; null when the bytes are not one.
GsfPtr<GsfInfile> OpenCompoundFile(GsfInput* input);
GsfPtr<GsfInfile> OpenZipPackage(GsfInput* input);

// The children of a storage, and one by its index (null when missing).
int ChildCount(GsfInfile* parent);
GsfPtr<GsfInput> ChildAt(GsfInfile* parent, int index);
// The input as a storage or stream of a container, or null when it is neither.
GsfInfile* AsInfile(GsfInput* input);

// The child of `parent` with that name compared without regard to ASCII case, as compound
// file names are; null when there is none.
GsfPtr<GsfInput> ChildNamed(GsfInfile* parent, std::string_view name);
// The same child as a storage (null when it is a stream or missing).
GsfPtr<GsfInfile> StorageNamed(GsfInfile* parent, std::string_view name);

// All bytes of a stream, at most kMaxStreamBytes.
Result<std::string> ReadAll(GsfInput* input);

}  // namespace trawlex::office
