#pragma once
// Where the versions of the main library are fetched: the maker's web server, or the base URL
// in TRAWLEX_UPDATE_SERVER (http:// or https://), so tests and users can point elsewhere.

#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::updater {

inline constexpr const char* kMakerServer = "http://www.quillfen.jp";
inline constexpr const char* kServerVariable = "TRAWLEX_UPDATE_SERVER";
// The path of a version's library on the server, followed by the key and ".dll".
inline constexpr const char* kLibraryPath = "/tools/trawlex/dlls_upd/trawlex-";

// TRAWLEX_UPDATE_SERVER when set and not empty, else the maker's server.
std::string DefaultServer();

// The base URL without a trailing slash; fails for anything but an http:// or https:// URL
// with a host (and no query or fragment).
Result<std::string> CheckServer(std::string_view server);

// <server>/tools/trawlex/dlls_upd/trawlex-<key>.dll
std::string LibraryUrl(std::string_view server, std::string_view key);

}  // namespace trawlex::updater
