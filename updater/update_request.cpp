#include "updater/update_request.h"

#include <dlfcn.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <cstdlib>

#include "host/addin_loader.h"
#include "updater/update_server.h"

namespace trawlex::updater {

namespace {

constexpr const char* kCancelled = "the check was cancelled";

std::string Text(const QString& text) {
    return text.toStdString();
}

std::string Seconds(int milliseconds) {
    return QString::number(milliseconds / 1000.0, 'g', 4).toStdString() + " s";
}

// Qt Network hooks itself into the application object when it is first used. The host
// unloads this library, and with it Qt Network when nothing else uses it, long before the
// application object goes: keep Qt Network mapped for the rest of the process.
void KeepNetworkLibraryLoaded() {
    static bool pinned = false;
    if (pinned) return;
    const std::string path = platform::ThisLibraryPath(
        reinterpret_cast<const void*>(&QNetworkAccessManager::staticMetaObject));
    // NOLOAD: this marks the loaded library; it never loads a second copy.
    pinned = !path.empty() && dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace

// What one request has seen so far.
struct UpdateRequest::Exchange {
    int status = 0;
    QByteArray body;
    std::optional<qint64> contentLength;
    // Why this side ended the request early; empty when it did not.
    std::string abortReason;
    bool timedOut = false;
};

int DefaultTimeoutMs() {
    const char* text = std::getenv("TRAWLEX_UPDATE_TIMEOUT_MS");
    if (!text) return kDefaultTimeoutMs;
    const long value = std::strtol(text, nullptr, 10);
    return value > 0 && value <= 3'600'000 ? static_cast<int>(value) : kDefaultTimeoutMs;
}

UpdateRequest::UpdateRequest(std::string server, std::optional<ProxyServer> proxy, int timeoutMs,
                             QObject* parent)
    : QObject(parent),
      server_(std::move(server)),
      timeoutMs_(timeoutMs),
      network_(new QNetworkAccessManager(this)) {
    KeepNetworkLibraryLoaded();
    if (proxy) {
        network_->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy,
                                         QString::fromStdString(proxy->host),
                                         static_cast<quint16>(proxy->port)));
    }
}

UpdateRequest::~UpdateRequest() {
    Cancel();
}

void UpdateRequest::Cancel() {
    cancelled_ = true;
    if (inFlight_) inFlight_->abort();
}

Result<int> UpdateRequest::ProbeStatus(const std::string& key) {
    int status = 0;
    Result<QByteArray> answer = Send(key, Mode::Probe, &status);
    if (!answer) return Failure{answer.error()};
    return status;
}

Result<bool> UpdateRequest::VersionExists(const std::string& key) {
    Result<int> status = ProbeStatus(key);
    if (!status) return Failure{status.error()};
    return *status >= 100 && *status <= 399;
}

Result<QByteArray> UpdateRequest::Download(const std::string& key) {
    int status = 0;
    return Send(key, Mode::Download, &status);
}

Result<QByteArray> UpdateRequest::Send(const std::string& key, Mode mode, int* status) {
    lastStatus_ = 0;
    if (cancelled_) return Failure{kCancelled};
    const std::string url = LibraryUrl(server_, key);
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    // A redirect is an answer of its own: 3xx says the version exists.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    // No data for this long (the connection included) ends the request.
    request.setTransferTimeout(timeoutMs_);

    Exchange exchange;
    QNetworkReply* reply = network_->sendCustomRequest(request, "POST");
    inFlight_ = reply;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    auto endEarly = [&](std::string reason) {
        if (exchange.abortReason.empty()) exchange.abortReason = std::move(reason);
        reply->abort();
    };
    connect(&deadline, &QTimer::timeout, reply, [&] {
        exchange.timedOut = true;
        endEarly("no complete answer within the time-out");
    });
    connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!code.isValid()) return;
        exchange.status = code.toInt();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid()) exchange.contentLength = length.toLongLong();
        if (mode == Mode::Probe) {
            // The status is all a probe needs; the body of a present version is a whole
            // library. Qt ends an error status itself (its body is read and dropped).
            if (exchange.status < 400) reply->abort();
        } else if (exchange.status < 200 || exchange.status > 299) {
            // Qt ends such a request with an error of its own; its body is read and dropped.
            exchange.abortReason =
                "the server answered with HTTP status " + std::to_string(exchange.status);
        } else if (exchange.contentLength && *exchange.contentLength > kMaxLibrarySize) {
            endEarly("the server announces " + std::to_string(*exchange.contentLength) +
                     " bytes, more than a library can be");
        }
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (mode == Mode::Probe || !exchange.abortReason.empty()) {
            reply->readAll();
            return;
        }
        exchange.body += reply->readAll();
        if (exchange.body.size() > kMaxLibrarySize) {
            exchange.body.clear();
            endEarly("the answer is larger than a library can be (64 MiB)");
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs_);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    inFlight_ = nullptr;
    if (mode == Mode::Download && exchange.abortReason.empty()) exchange.body += reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    reply->disconnect();
    reply->deleteLater();
    *status = exchange.status;
    lastStatus_ = exchange.status;

    const std::string where = " (" + url + ")";
    if (cancelled_) return Failure{kCancelled};
    if (exchange.timedOut) {
        return Failure{"time-out: the server gave no complete answer within " +
                       Seconds(timeoutMs_) + where};
    }
    if (mode == Mode::Probe && exchange.status != 0) return QByteArray();
    if (!exchange.abortReason.empty()) return Failure{exchange.abortReason + where};
    if (error == QNetworkReply::OperationCanceledError) {
        return Failure{"time-out: the server sent nothing for " + Seconds(timeoutMs_) + where};
    }
    if (exchange.status == 0) {
        return Failure{"the server could not be reached: " + Text(errorText) + where};
    }
    if (error != QNetworkReply::NoError) {
        return Failure{"the download broke off after " + std::to_string(exchange.body.size()) +
                       " bytes: " + Text(errorText) + where};
    }
    if (exchange.contentLength && exchange.body.size() != *exchange.contentLength) {
        return Failure{"the download is incomplete: " + std::to_string(exchange.body.size()) +
                       " of " + std::to_string(*exchange.contentLength) + " bytes arrived" + where};
    }
    return exchange.body;
}

}  // namespace trawlex::updater
