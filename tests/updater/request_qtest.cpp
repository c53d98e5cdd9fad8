// The probe and the download over HTTP against the loopback update server and a scripted
// one: the probe scenarios, what counts as present, a probe that reads no body, time-outs,
// cancelling, the proxy rule, and the checks a download has to pass.

#include <QTimer>
#include <QtTest>

#include "platform/registry.h"
#include "update_test_support.h"
#include "updater/proxy_rule.h"
#include "updater/update_request.h"
#include "updater/version_probe.h"

using namespace trawlex;
using namespace trawlex::updater;
using updater_test::FolderServer;
using updater_test::ScriptedServer;

namespace {

constexpr int kShortTimeoutMs = 1500;

Result<ProbeResult> ProbeServer(const QString& url, Version current, int timeoutMs = 10'000) {
    UpdateRequest request(url.toStdString(), std::nullopt, timeoutMs);
    return ProbeVersions([&](Version v) { return request.VersionExists(VersionKey(v)); }, current);
}

QStringList Rows(const ProbeResult& result) {
    QStringList rows;
    for (const Version& v : result.versions) rows << QString::fromStdString(VersionRow(v));
    return rows;
}

}  // namespace

class RequestTest : public QObject {
    Q_OBJECT
  private slots:
    void probeScenariosAgainstTheLoopbackServer();
    void redirectsCountAsPresentAndErrorsAsAbsent();
    void aProbeReadsOnlyTheStatus();
    void deadAndSilentServersFailWithTheReason();
    void cancellingEndsTheRequestInFlight();
    void anEnabledProxyCarriesTheRequests();
    void downloadsAreAcceptedOnlyWholeAndSuccessful();
};

void RequestTest::probeScenariosAgainstTheLoopbackServer() {
    FolderServer server;
    for (const char* key : {"3.00", "3.01", "3.02"}) server.Put(key, "library " + QByteArray(key));

    Result<ProbeResult> at300 = ProbeServer(server.url(), {3, 0});
    QVERIFY2(at300, at300.error().c_str());
    QCOMPARE(server.requestedKeys(), QStringList({"3.00", "3.01", "3.02", "3.03", "4.00"}));
    QVERIFY(server.requests().first().startsWith("POST /tools/trawlex/dlls_upd/trawlex-3.00.dll"));
    QCOMPARE(Rows(*at300), QStringList({"Version 3.00", "Version 3.01", "Version 3.02"}));
    QCOMPARE(at300->selected, 0);
    QVERIFY(!at300->nothingNewer());

    Result<ProbeResult> at302 = ProbeServer(server.url(), {3, 2});
    QVERIFY(at302);
    QCOMPARE(at302->selected, 2);
    QVERIFY(at302->nothingNewer());

    server.Put("4.00", "library 4.00");
    Result<ProbeResult> withMajor = ProbeServer(server.url(), {3, 0});
    QVERIFY(withMajor);
    QCOMPARE(server.requestedKeys().mid(10),
             QStringList({"3.00", "3.01", "3.02", "3.03", "4.00", "4.01", "5.00"}));
    QCOMPARE(Rows(*withMajor).last(), QString("Version 4.00"));

    FolderServer empty;
    empty.Put("3.01", "orphan");
    Result<ProbeResult> none = ProbeServer(empty.url(), {3, 0});
    QVERIFY(none);
    QCOMPARE(empty.requestedKeys(), QStringList({"3.00"}));
    QVERIFY(none->versions.empty());
    QVERIFY(none->nothingNewer());
}

void RequestTest::redirectsCountAsPresentAndErrorsAsAbsent() {
    ScriptedServer server;
    server.Set("3.00", ScriptedServer::Answer(200, "x"));
    server.Set("3.01", ScriptedServer::Answer(302));
    server.Set("3.02", ScriptedServer::Answer(500, "oops"));
    server.Set("4.00", ScriptedServer::Answer(304));
    server.Set("4.01", ScriptedServer::Answer(404));
    Result<ProbeResult> result = ProbeServer(server.url(), {3, 0});
    QVERIFY2(result, result.error().c_str());
    QCOMPARE(Rows(*result), QStringList({"Version 3.00", "Version 3.01", "Version 4.00"}));
}

void RequestTest::aProbeReadsOnlyTheStatus() {
    // A present version whose body never finishes: waiting for it would run into the time-out.
    ScriptedServer server;
    server.Set("3.00", ScriptedServer::StallingAfter(50'000'000, QByteArray(1000, 'L')));
    UpdateRequest request(server.url().toStdString(), std::nullopt, kShortTimeoutMs);
    Result<int> status = request.ProbeStatus("3.00");
    QVERIFY2(status, status.error().c_str());
    QCOMPARE(*status, 200);
}

void RequestTest::deadAndSilentServersFailWithTheReason() {
    ScriptedServer silent;
    silent.Set("3.00", ScriptedServer::Silent());
    UpdateRequest request(silent.url().toStdString(), std::nullopt, kShortTimeoutMs);
    Result<bool> timedOut = request.VersionExists("3.00");
    QVERIFY(!timedOut);
    QVERIFY2(QString::fromStdString(timedOut.error()).startsWith("time-out"),
             timedOut.error().c_str());
    QVERIFY(!request.answered());

    UpdateRequest dead("http://127.0.0.1:1", std::nullopt, kShortTimeoutMs);
    Result<bool> refused = dead.VersionExists("3.00");
    QVERIFY(!refused);
    QVERIFY2(refused.error().find("could not be reached") != std::string::npos,
             refused.error().c_str());
}

void RequestTest::cancellingEndsTheRequestInFlight() {
    ScriptedServer silent;
    silent.Set("3.00", ScriptedServer::Silent());
    UpdateRequest request(silent.url().toStdString(), std::nullopt, 60'000);
    QTimer::singleShot(100, &request, [&] { request.Cancel(); });
    Result<bool> cancelled = request.VersionExists("3.00");
    QVERIFY(!cancelled);
    QVERIFY(request.cancelled());
    QVERIFY2(cancelled.error().find("cancelled") != std::string::npos, cancelled.error().c_str());
    // Later requests fail at once until the request object is reset.
    QVERIFY(!request.VersionExists("3.00"));
    QCOMPARE(silent.requestLines().size(), 1);
}

void RequestTest::anEnabledProxyCarriesTheRequests() {
    updater_test::TempMachine machine;
    ScriptedServer proxy;
    proxy.Set("3.00", ScriptedServer::Answer(200, "via proxy"));
    const std::string settings = kInternetSettings;
    QVERIFY(platform::RegWrite(settings + "ProxyEnable", "1", "REG_DWORD"));
    QVERIFY(platform::RegWrite(settings + "ProxyServer", proxy.url().mid(7).toStdString()));
    Result<std::optional<ProxyServer>> rule = ReadProxyRule();
    QVERIFY(rule && *rule);
    UpdateRequest request("http://www.quillfen.jp", *rule, 10'000);
    Result<bool> exists = request.VersionExists("3.00");
    QVERIFY2(exists, exists.error().c_str());
    QVERIFY(*exists);
    QCOMPARE(proxy.requestLines(),
             QStringList("POST http://www.quillfen.jp/tools/trawlex/dlls_upd/trawlex-3.00.dll "
                         "HTTP/1.1"));
}

void RequestTest::downloadsAreAcceptedOnlyWholeAndSuccessful() {
    const QByteArray library(300'000, 'L');
    ScriptedServer server;
    server.Set("3.00", ScriptedServer::Answer(200, library));
    server.Set("3.01", ScriptedServer::Answer(500, "server error"));
    server.Set("3.02", ScriptedServer::Truncated(library.size(), library.left(1000)));
    server.Set("3.03", ScriptedServer::StallingAfter(library.size(), library.left(1000)));
    server.Set("3.04", ScriptedServer::Truncated(kMaxLibrarySize + 1, library.left(10)));
    server.Set("3.05", ScriptedServer::Answer(302));
    UpdateRequest request(server.url().toStdString(), std::nullopt, kShortTimeoutMs);

    Result<QByteArray> whole = request.Download("3.00");
    QVERIFY2(whole, whole.error().c_str());
    QCOMPARE(*whole, library);

    const QList<QPair<QString, QString>> broken = {{"3.01", "HTTP status 500"},
                                                   {"3.02", "bytes"},
                                                   {"3.03", "time-out"},
                                                   {"3.04", "more than a library"},
                                                   {"3.05", "HTTP status 302"}};
    for (const auto& [key, reason] : broken) {
        Result<QByteArray> download = request.Download(key.toStdString());
        QVERIFY2(!download, qPrintable(key));
        QVERIFY2(QString::fromStdString(download.error()).contains(reason),
                 download.error().c_str());
    }
}

QTEST_MAIN(RequestTest)
#include "request_qtest.moc"
