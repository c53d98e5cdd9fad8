#pragma once
// The proxy the updater's requests go through: the user's Internet settings in the registry.
// ProxyEnable non-zero → the server named by ProxyServer; ProxyEnable absent or zero → none.

#include <optional>
#include <string>

#include "base/result.h"

namespace trawlex::updater {

inline constexpr const char* kInternetSettings =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";

struct ProxyServer {
    std::string host;
    int port = 80;
    bool operator==(const ProxyServer&) const = default;
};

// Nothing: no proxy. Fails when the proxy is enabled but ProxyServer is missing or names no
// usable host and port.
Result<std::optional<ProxyServer>> ReadProxyRule();

// "host:port", "host" (port 80), "http://host:port" or the per-protocol list
// "http=host:port;https=..." (the http entry is used).
Result<ProxyServer> ParseProxyServer(const std::string& text);

}  // namespace trawlex::updater
