#pragma once
// Binary PowerPoint keeps its VBA project as a compound file of its own inside an
// ExOleObjStg record of the "PowerPoint Document" stream, usually zlib-compressed.

#include <functional>
#include <string>
#include <string_view>

namespace trawlex::office {

// Hands the embedded storages of the stream's ExOleObjStg records, inflated where
// compressed, to `visit` in stream order until it returns true. Compressed data that stops short
// (without its final block, or a record cut off at the stream's end) gives what it holds, filled up
// with zeros to its stated size so the sectors it does hold can still be read.
void VisitEmbeddedStorages(std::string_view documentStream,
                           const std::function<bool(std::string_view storage)>& visit);

}  // namespace trawlex::office
