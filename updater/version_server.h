#pragma once
// A real update server for tests and for trying the updater by hand: serves the files
// trawlex-<key>.dll of one folder at /tools/trawlex/dlls_upd/trawlex-<key>.dll (POST, as the
// updater asks, or GET) on the loopback address, and answers 404 for keys it lacks.

#include <QHttpServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include "base/result.h"

namespace trawlex::updater {

class VersionServer : public QObject {
    Q_OBJECT
  public:
    explicit VersionServer(QString root, QObject* parent = nullptr);

    // Listens on 127.0.0.1; port 0 picks a free one. Returns the port.
    Result<quint16> Listen(quint16 port = 0);
    // "http://127.0.0.1:<port>" once listening.
    QString baseUrl() const;
    // "METHOD path" of every request so far, in order.
    const QStringList& requests() const { return requests_; }

  private:
    QHttpServerResponse Answer(const QString& fileName, const QHttpServerRequest& request);

    QString root_;
    QHttpServer server_;
    quint16 port_ = 0;
    QStringList requests_;
};

}  // namespace trawlex::updater
