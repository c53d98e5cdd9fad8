// The updater's rules without a server: version keys, the probe's walk over the numbering,
// the proxy rule of the Internet settings and the server address.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/registry.h"
#include "updater/proxy_rule.h"
#include "updater/update_server.h"
#include "updater/version_probe.h"

using namespace trawlex;
using namespace trawlex::updater;

namespace {

// Probes a server holding `present`, remembering what was asked.
struct FakeServer {
    std::set<std::string> present;
    std::vector<std::string> asked;
    Result<bool> operator()(Version v) {
        asked.push_back(VersionKey(v));
        return present.count(VersionKey(v)) > 0;
    }
};

Result<ProbeResult> Probe(FakeServer& server, Version current) {
    return ProbeVersions([&](Version v) { return server(v); }, current);
}

}  // namespace

TEST(VersionKeys, MinorHasAtLeastTwoDigitsAndRowsCarryTheKeyFromTheNinthCharacter) {
    EXPECT_EQ(VersionKey({3, 0}), "3.00");
    EXPECT_EQ(VersionKey({3, 12}), "3.12");
    EXPECT_EQ(VersionKey({3, 100}), "3.100");
    EXPECT_EQ(VersionRow({4, 1}), "Version 4.01");
    EXPECT_EQ(KeyOfRow("Version 4.01"), "4.01");
    EXPECT_EQ(VersionRow(UpdaterVersion()), "Version 3.00");
}

TEST(VersionKeys, OnlyTheServersOwnSpellingParses) {
    EXPECT_EQ(ParseVersionKey("3.01"), (Version{3, 1}));
    EXPECT_EQ(ParseVersionKey("3.100"), (Version{3, 100}));
    for (const char* bad : {"3.1", "03.01", "3", "3.", ".01", "3.01/../x", "../3.01", "3.0a", ""}) {
        EXPECT_FALSE(ParseVersionKey(bad)) << bad;
    }
}

TEST(Probe, WalksMinorsThenMajorsAndSelectsTheUpdatersVersion) {
    FakeServer server{{"3.00", "3.01", "3.02"}, {}};
    Result<ProbeResult> result = Probe(server, {3, 0});
    ASSERT_TRUE(result);
    EXPECT_EQ(server.asked, (std::vector<std::string>{"3.00", "3.01", "3.02", "3.03", "4.00"}));
    EXPECT_EQ(result->versions.size(), 3u);
    EXPECT_EQ(result->selected, 0);
    EXPECT_FALSE(result->nothingNewer());

    FakeServer same{{"3.00", "3.01", "3.02"}, {}};
    result = Probe(same, {3, 2});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->selected, 2);
    EXPECT_TRUE(result->nothingNewer());
}

TEST(Probe, EmptyListAndUnknownUpdaterVersion) {
    FakeServer none{{"3.01", "4.00"}, {}};
    Result<ProbeResult> result = Probe(none, {3, 0});
    ASSERT_TRUE(result);
    EXPECT_EQ(none.asked, std::vector<std::string>{"3.00"});
    EXPECT_TRUE(result->versions.empty());
    EXPECT_TRUE(result->nothingNewer());

    FakeServer later{{"3.00", "3.01"}, {}};
    result = Probe(later, {2, 9});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->selected, -1);
    EXPECT_FALSE(result->nothingNewer());
}

TEST(Probe, AFailureEndsTheProbeAndAServerClaimingEverythingIsStopped) {
    int calls = 0;
    Result<ProbeResult> failed = ProbeVersions(
        [&](Version) -> Result<bool> {
            if (++calls == 2) return Failure{"time-out"};
            return true;
        },
        {3, 0});
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error(), "time-out");
    EXPECT_EQ(calls, 2);

    calls = 0;
    Result<ProbeResult> endless = ProbeVersions(
        [&](Version) -> Result<bool> {
            ++calls;
            return true;
        },
        {3, 0});
    EXPECT_FALSE(endless);
    EXPECT_EQ(calls, kMaxProbes);
}

TEST(ProxyRule, ServerTextsAreParsed) {
    EXPECT_EQ(ParseProxyServer("proxy.local:8080").value(), (ProxyServer{"proxy.local", 8080}));
    EXPECT_EQ(ParseProxyServer("proxy.local").value(), (ProxyServer{"proxy.local", 80}));
    EXPECT_EQ(ParseProxyServer("http://10.0.0.1:3128/").value(), (ProxyServer{"10.0.0.1", 3128}));
    EXPECT_EQ(ParseProxyServer("https=a:1;http=b:2").value(), (ProxyServer{"b", 2}));
    for (const char* bad : {"", "proxy:", "proxy:99999", "proxy:12x", ":80", "https=a:1"}) {
        EXPECT_FALSE(ParseProxyServer(bad)) << bad;
    }
}

TEST(ProxyRule, AMissingOrZeroProxyEnableMeansNoProxy) {
    const std::string settings = kInternetSettings;
    (void)platform::RegDeleteTree(settings);
    Result<std::optional<ProxyServer>> rule = ReadProxyRule();
    ASSERT_TRUE(rule) << rule.error();
    EXPECT_FALSE(*rule);

    ASSERT_TRUE(platform::RegWrite(settings + "ProxyEnable", "0", "REG_DWORD"));
    ASSERT_TRUE(platform::RegWrite(settings + "ProxyServer", "proxy:8080"));
    rule = ReadProxyRule();
    ASSERT_TRUE(rule);
    EXPECT_FALSE(*rule);

    ASSERT_TRUE(platform::RegWrite(settings + "ProxyEnable", "1", "REG_DWORD"));
    rule = ReadProxyRule();
    ASSERT_TRUE(rule);
    EXPECT_EQ(**rule, (ProxyServer{"proxy", 8080}));

    ASSERT_TRUE(platform::RegDelete(settings + "ProxyServer"));
    EXPECT_FALSE(ReadProxyRule());
    (void)platform::RegDeleteTree(settings);
}

TEST(ServerAddress, OnlyHttpAndHttpsBaseUrls) {
    EXPECT_EQ(CheckServer("http://127.0.0.1:8080/").value(), "http://127.0.0.1:8080");
    EXPECT_EQ(CheckServer("HTTPS://example.jp").value(), "HTTPS://example.jp");
    for (const char* bad : {"ftp://x", "x", "http://", "http:///p", "http://x/?q", "file:///etc"}) {
        EXPECT_FALSE(CheckServer(bad)) << bad;
    }
    EXPECT_EQ(LibraryUrl("http://h", "3.01"), "http://h/tools/trawlex/dlls_upd/trawlex-3.01.dll");
}
