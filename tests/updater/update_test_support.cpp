#include "update_test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include "platform/registry.h"

namespace updater_test {

namespace {

QString Value(const std::string& path) {
    trawlex::Result<std::string> value = trawlex::platform::RegRead(path);
    return value ? QString::fromStdString(*value) : QString("<missing>");
}

const std::string kVbeKey = "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Connect\\";

}  // namespace

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray MainLibraryBytes() {
    static const QByteArray bytes = FileBytes(TRAWLEX_DLL);
    return bytes;
}

TempMachine::TempMachine()
    : previousRoot_(qgetenv("TRAWLEX_ROOT")),
      previousHome_(qgetenv("HOME")),
      previousPath_(qgetenv("PATH")) {
    qputenv("TRAWLEX_ROOT", dir_.path().toLocal8Bit());
    qputenv("HOME", dir_.path().toLocal8Bit());
    qputenv("PATH", QByteArray(TRAWLEX_PROGRAM_DIRS) + ":" + previousPath_);
    QDir().mkpath(systemDir());
}

TempMachine::~TempMachine() {
    QFile::setPermissions(systemDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TRAWLEX_ROOT", previousRoot_);
    qputenv("HOME", previousHome_);
    qputenv("PATH", previousPath_);
}

QStringList TempMachine::systemFiles() const {
    return QDir(systemDir()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool TempMachine::InstallMainLibrary(const QByteArray& bytes) {
    if (!WriteBytes(mainLibrary(), bytes)) return false;
    QFile::setPermissions(mainLibrary(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (QProcess::execute(TRAWLEX_REGSVR32, {"/S", mainLibrary()}) != 0) return false;
    return trawlex::platform::RegWrite(kVbeKey + "FriendlyName", "Trawlex Plus").ok() &&
           trawlex::platform::RegWrite(kVbeKey + "CommandLineSafe", "0", "REG_DWORD").ok() &&
           trawlex::platform::RegWrite(kVbeKey + "LoadBehavior", "3", "REG_DWORD").ok();
}

QString RegistrationProblem(const TempMachine& machine) {
    QStringList problems;
    const QString classPath = Value("HKCU\\Software\\Classes\\Trawlex.Connect\\InprocServer32\\");
    if (classPath != machine.mainLibrary()) problems << "class record: " + classPath;
    const std::string vb6 =
        "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Trawlex.Connect\\";
    if (Value(vb6 + "FriendlyName") != "Trawlex Plus") problems << "no Visual Basic 6.0 record";
    if (Value(vb6 + "LoadBehavior") != "1")
        problems << "VB6 LoadBehavior " + Value(vb6 + "LoadBehavior");
    auto names = trawlex::platform::RegValueNames(kVbeKey);
    const QStringList expected{"FriendlyName", "CommandLineSafe", "LoadBehavior"};
    QStringList actual;
    for (const std::string& name : names.value_or({})) actual << QString::fromStdString(name);
    if (actual != expected) problems << "VBE record values: " + actual.join(",");
    if (Value(kVbeKey + "FriendlyName") != "Trawlex Plus" ||
        Value(kVbeKey + "CommandLineSafe") != "0" || Value(kVbeKey + "LoadBehavior") != "3") {
        problems << "VBE record data";
    }
    return problems.join("; ");
}

QString InstalledProblem(const TempMachine& machine, const QByteArray& library) {
    QStringList problems;
    const QByteArray installed = FileBytes(machine.mainLibrary());
    if (installed != library) {
        problems << QString("trawlex.dll holds %1 other bytes").arg(installed.size());
    }
    if (const QString registration = RegistrationProblem(machine); !registration.isEmpty()) {
        problems << registration;
    }
    if (machine.systemFiles() != QStringList("trawlex.dll")) {
        problems << "system directory: " + machine.systemFiles().join(",");
    }
    return problems.join("; ");
}

QString KeyOfPath(const QString& path) {
    static const QRegularExpression pattern("trawlex-([0-9]+\\.[0-9]+)\\.dll$");
    const QRegularExpressionMatch match = pattern.match(path);
    return match.hasMatch() ? match.captured(1) : QString();
}

FolderServer::FolderServer()
    : server_(std::make_unique<trawlex::updater::VersionServer>(dir_.path())) {
    (void)server_->Listen(0);
}

void FolderServer::Put(const QString& key, const QByteArray& bytes) {
    WriteBytes(dir_.path() + "/trawlex-" + key + ".dll", bytes);
}

QStringList FolderServer::requestedKeys() const {
    QStringList keys;
    for (const QString& request : server_->requests()) keys << KeyOfPath(request);
    return keys;
}

ScriptedServer::Script ScriptedServer::Answer(int status, const QByteArray& body) {
    Script script;
    script.head = "HTTP/1.1 " + QByteArray::number(status) +
                  " Scripted\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n";
    if (status >= 300 && status < 400) script.head += "Location: http://127.0.0.1:9/elsewhere\r\n";
    script.head += "\r\n";
    script.body = body;
    return script;
}

ScriptedServer::Script ScriptedServer::Truncated(qint64 announced, const QByteArray& body) {
    Script script;
    script.head = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(announced) +
                  "\r\nConnection: close\r\n\r\n";
    script.body = body;
    return script;
}

ScriptedServer::Script ScriptedServer::StallingAfter(qint64 announced, const QByteArray& body) {
    Script script = Truncated(announced, body);
    script.stallAfter = true;
    return script;
}

ScriptedServer::Script ScriptedServer::Silent() {
    Script script;
    script.stallAfter = true;
    return script;
}

ScriptedServer::ScriptedServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
        }
    });
}

QString ScriptedServer::url() const {
    return QString("http://127.0.0.1:%1").arg(server_.serverPort());
}

void ScriptedServer::Serve(QTcpSocket* socket) {
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n")) return;
    socket->setProperty("answered", true);
    const QString requestLine = QString::fromLatin1(request.left(request.indexOf("\r\n")));
    requestLines_ << requestLine;
    const QString key = KeyOfPath(requestLine.section(' ', 1, 1));
    const Script script = scripts_.value(key, Answer(404, "not here"));
    socket->write(script.head);
    socket->write(script.body);
    socket->flush();
    if (!script.stallAfter) socket->disconnectFromHost();
}

}  // namespace updater_test
