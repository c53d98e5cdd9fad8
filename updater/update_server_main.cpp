// trawlex-update-server --root DIR [--port N]: serves the libraries trawlex-<key>.dll in DIR
// to the updater on 127.0.0.1 until it is stopped. Port 0 (the default) picks a free port;
// the first line on stdout names the address.

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "updater/version_server.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: trawlex-update-server --root DIR [--port N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString root;
    quint16 port = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--root" && i + 1 < args.size()) {
            root = args[++i];
        } else if (args[i] == "--port" && i + 1 < args.size()) {
            bool ok = false;
            const uint value = args[++i].toUInt(&ok);
            if (!ok || value > 65535) return Usage();
            port = static_cast<quint16>(value);
        } else if (args[i] == "--help") {
            Usage();
            return 0;
        } else {
            return Usage();
        }
    }
    if (root.isEmpty()) return Usage();
    if (!QDir(root).exists()) {
        std::fprintf(stderr, "trawlex-update-server: %s is not a folder\n", qPrintable(root));
        return 2;
    }
    trawlex::updater::VersionServer server(QDir(root).absolutePath());
    trawlex::Result<quint16> listening = server.Listen(port);
    if (!listening) {
        std::fprintf(stderr, "trawlex-update-server: %s\n", listening.error().c_str());
        return 2;
    }
    std::printf("trawlex-update-server: serving %s on %s\n", qPrintable(QDir(root).absolutePath()),
                qPrintable(server.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
