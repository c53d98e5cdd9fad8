// vbide: a small VB6-style host editor that loads the add-ins registered for it.
//   vbide [--vbe] [project.vbp | group.vbg | module file]
// --vbe plays the Office applications' Visual Basic Editor instead of Visual Basic 6.0.

#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "vbide/ide_window.h"

int main(int argc, char** argv) {
    // Qt takes its own options (-platform, -style, ...) out of the arguments first.
    QApplication app(argc, argv);
    app.setApplicationName("vbide");
    auto flavour = trawlex::vbide::Flavour::VisualBasic6;
    QString path;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg == "--vbe") {
            flavour = trawlex::vbide::Flavour::OfficeEditor;
        } else if (arg.startsWith("--") || !path.isEmpty()) {
            std::fprintf(stderr, "usage: vbide [--vbe] [project.vbp | group.vbg | module]\n");
            return 2;
        } else {
            path = arg;
        }
    }
    trawlex::vbide::IdeWindow window(flavour);
    if (!path.isEmpty()) (void)window.OpenPath(path);
    window.show();
    window.ConnectStartupAddins();
    return app.exec();
}
