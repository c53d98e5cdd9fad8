#pragma once
// The updater's HTTP requests to the update server (HttpReq): a POST without a body for
// every version, through the proxy of the user's Internet settings. Each request waits in a
// local event loop, so the host's windows keep painting, and ends at the latest when the
// time-out has passed. Cancel ends the request in flight.

#include <QByteArray>
#include <QObject>
#include <optional>
#include <string>

#include "base/result.h"
#include "updater/proxy_rule.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace trawlex::updater {

// The most a download may carry: no library of this product comes near it.
inline constexpr qint64 kMaxLibrarySize = 64 * 1024 * 1024;
inline constexpr int kDefaultTimeoutMs = 30'000;

// kDefaultTimeoutMs, or TRAWLEX_UPDATE_TIMEOUT_MS when that holds a positive number.
int DefaultTimeoutMs();

class UpdateRequest : public QObject {
    Q_OBJECT
  public:
    // `server`: a base URL as CheckServer returns it.
    UpdateRequest(std::string server, std::optional<ProxyServer> proxy,
                  int timeoutMs = DefaultTimeoutMs(), QObject* parent = nullptr);
    ~UpdateRequest() override;

    // The status code of the server's answer for the key. Only the status line and the
    // headers are read; the request ends before the body.
    Result<int> ProbeStatus(const std::string& key);
    // Whether the server holds the version: a status from 100 to 399.
    Result<bool> VersionExists(const std::string& key);
    // The library of the key: only a 2xx answer whose body arrived whole (as long as its
    // Content-Length says, when it sends one) and holds at most kMaxLibrarySize bytes.
    Result<QByteArray> Download(const std::string& key);

    // Ends the request in flight and makes every later one fail, until Reset.
    void Cancel();
    void Reset() { cancelled_ = false; }
    bool cancelled() const { return cancelled_; }
    // Whether the latest request got an answer (a status line) from the server.
    bool answered() const { return lastStatus_ != 0; }

  private:
    enum class Mode { Probe, Download };
    struct Exchange;
    Result<QByteArray> Send(const std::string& key, Mode mode, int* status);

    std::string server_;
    int timeoutMs_;
    QNetworkAccessManager* network_;
    QNetworkReply* inFlight_ = nullptr;
    bool cancelled_ = false;
    int lastStatus_ = 0;
};

}  // namespace trawlex::updater
