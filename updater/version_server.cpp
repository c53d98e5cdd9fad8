#include "updater/version_server.h"

#include <QFile>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponse>

#include "updater/update_server.h"
#include "updater/version_key.h"

namespace trawlex::updater {

namespace {

constexpr const char* kFolder = "/tools/trawlex/dlls_upd/";

QString MethodName(QHttpServerRequest::Method method) {
    if (method == QHttpServerRequest::Method::Get) return "GET";
    if (method == QHttpServerRequest::Method::Post) return "POST";
    return "OTHER";
}

// The file name of a version's library, or "" for a name that is none (no path escapes).
QString LibraryFileName(const QString& name) {
    const QString prefix = "trawlex-";
    const QString suffix = ".dll";
    if (!name.startsWith(prefix) || !name.endsWith(suffix)) return {};
    const QString key = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
    return ParseVersionKey(key.toStdString()) ? name : QString();
}

}  // namespace

VersionServer::VersionServer(QString root, QObject* parent)
    : QObject(parent), root_(std::move(root)) {
    server_.route(QString(kFolder) + "<arg>",
                  [this](const QString& fileName, const QHttpServerRequest& request) {
                      return Answer(fileName, request);
                  });
}

Result<quint16> VersionServer::Listen(quint16 port) {
    port_ = server_.listen(QHostAddress::LocalHost, port);
    if (port_ == 0) {
        return Failure{"cannot listen on 127.0.0.1 port " + std::to_string(port)};
    }
    return port_;
}

QString VersionServer::baseUrl() const {
    return QString("http://127.0.0.1:%1").arg(port_);
}

QHttpServerResponse VersionServer::Answer(const QString& fileName,
                                          const QHttpServerRequest& request) {
    requests_ << MethodName(request.method()) + " " + request.url().path();
    const bool allowed = request.method() == QHttpServerRequest::Method::Post ||
                         request.method() == QHttpServerRequest::Method::Get;
    if (!allowed) return QHttpServerResponse(QHttpServerResponder::StatusCode::MethodNotAllowed);
    const QString name = LibraryFileName(fileName);
    QFile file(root_ + "/" + name);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
    }
    return QHttpServerResponse("application/octet-stream", file.readAll());
}

}  // namespace trawlex::updater
