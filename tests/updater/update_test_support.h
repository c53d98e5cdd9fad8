#pragma once
// What the updater's tests share: a fresh machine root whose system directory holds an
// installed, registered trawlex.dll; the real update server on a folder; and a scripted
// server that answers each version the way a test asks (a status, a truncated body, silence).

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "updater/version_server.h"

namespace updater_test {

// The built libraries and programs.
QByteArray MainLibraryBytes();  // trawlex.dll as built
QByteArray FileBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// TRAWLEX_ROOT and HOME in a temporary folder; PATH leads to the built regsvr32 and
// trawlex-addin-check. Everything is put back when the object goes.
class TempMachine {
  public:
    TempMachine();
    ~TempMachine();
    QString path() const { return dir_.path(); }
    QString systemDir() const { return dir_.path() + "/system32"; }
    QString mainLibrary() const { return systemDir() + "/trawlex.dll"; }
    // Files in the system directory, sorted.
    QStringList systemFiles() const;

    // Puts `bytes` as trawlex.dll into the system directory and registers it as the
    // installer does (regsvr32 /S, then the VBE record).
    bool InstallMainLibrary(const QByteArray& bytes);

  private:
    QTemporaryDir dir_;
    QByteArray previousRoot_, previousHome_, previousPath_;
};

// Whether trawlex.dll in the system directory is registered with both hosts: the class
// record leads to it, the Visual Basic 6.0 record is there, and the VBE record holds
// FriendlyName "Trawlex Plus", CommandLineSafe 0 and LoadBehavior 3 in this order. Empty
// when it is; else what is wrong.
QString RegistrationProblem(const TempMachine& machine);

// Whether trawlex.dll holds exactly `library`, is registered, and stands alone in the system
// directory (no staged download, no kept copy). Empty when it does; else what is wrong.
QString InstalledProblem(const TempMachine& machine, const QByteArray& library);

// The real server on a folder of its own.
class FolderServer {
  public:
    FolderServer();
    // Puts trawlex-<key>.dll with these bytes into the served folder.
    void Put(const QString& key, const QByteArray& bytes);
    QString url() const { return server_->baseUrl(); }
    // The keys asked for, in order ("3.00", ...).
    QStringList requestedKeys() const;
    // "POST /tools/..." lines.
    const QStringList& requests() const { return server_->requests(); }

  private:
    QTemporaryDir dir_;
    std::unique_ptr<trawlex::updater::VersionServer> server_;
};

// An HTTP server that answers as scripted, per version key. Keys without a script get 404.
class ScriptedServer : public QObject {
    Q_OBJECT
  public:
    struct Script {
        QByteArray head;  // status line and headers, up to the empty line
        QByteArray body;
        bool stallAfter = false;  // keep the connection open without sending more
    };
    // A full answer with that status and body and a Content-Length.
    static Script Answer(int status, const QByteArray& body = {});
    // Announces `announced` bytes, sends `body` and closes the connection.
    static Script Truncated(qint64 announced, const QByteArray& body);
    // Announces `announced` bytes, sends `body` and then nothing more.
    static Script StallingAfter(qint64 announced, const QByteArray& body);
    // Sends nothing at all.
    static Script Silent();

    ScriptedServer();
    void Set(const QString& key, Script script) { scripts_[key] = std::move(script); }
    QString url() const;
    // The request lines ("POST /tools/... HTTP/1.1"), in order.
    const QStringList& requestLines() const { return requestLines_; }

  private:
    void Serve(class QTcpSocket* socket);

    QTcpServer server_;
    QMap<QString, Script> scripts_;
    QStringList requestLines_;
};

// The key a request path or URL names ("…/trawlex-3.01.dll" → "3.01"), or "".
QString KeyOfPath(const QString& path);

}  // namespace updater_test
