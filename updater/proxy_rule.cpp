#include "updater/proxy_rule.h"

#include <charconv>

#include "base/ascii_case.h"
#include "platform/registry.h"

namespace trawlex::updater {

namespace {

std::string Trimmed(std::string text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The http entry of "http=a:1;https=b:2", or the text itself when it lists no protocols.
std::string HttpEntry(const std::string& text) {
    if (text.find('=') == std::string::npos) return text;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string entry = Trimmed(text.substr(start, end - start));
        const size_t equals = entry.find('=');
        if (equals != std::string::npos && EqualsIgnoringCase(entry.substr(0, equals), "http")) {
            return entry.substr(equals + 1);
        }
        start = end + 1;
    }
    return {};
}

}  // namespace

Result<ProxyServer> ParseProxyServer(const std::string& text) {
    std::string server = Trimmed(HttpEntry(text));
    if (const size_t scheme = server.find("://"); scheme != std::string::npos) {
        server = server.substr(scheme + 3);
    }
    while (!server.empty() && server.back() == '/') server.pop_back();
    ProxyServer proxy;
    const size_t colon = server.rfind(':');
    proxy.host = server.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string port = server.substr(colon + 1);
        auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), proxy.port);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() ||
            proxy.port < 1 || proxy.port > 65535) {
            return Failure{"the proxy server \"" + text + "\" has no valid port"};
        }
    }
    if (proxy.host.empty() || proxy.host.find_first_of(" \t/") != std::string::npos) {
        return Failure{"the proxy server \"" + text + "\" names no host"};
    }
    return proxy;
}

Result<std::optional<ProxyServer>> ReadProxyRule() {
    const std::string settings = kInternetSettings;
    Result<std::string> enabled = platform::RegRead(settings + "ProxyEnable");
    // This platform often has no value at all: that means no proxy, as zero does.
    if (!enabled || enabled->empty() || *enabled == "0") return std::optional<ProxyServer>();
    Result<std::string> server = platform::RegRead(settings + "ProxyServer");
    if (!server || server->empty()) {
        return Failure{"the proxy is enabled (ProxyEnable) but no ProxyServer is set"};
    }
    Result<ProxyServer> proxy = ParseProxyServer(*server);
    if (!proxy) return Failure{proxy.error()};
    return std::optional<ProxyServer>(*proxy);
}

}  // namespace trawlex::updater
