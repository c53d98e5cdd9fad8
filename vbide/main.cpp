// vbide: a small VB6-style host editor that loads the add-ins registered for it.
//   vbide [--vbe] [project.vbp | group.vbg | module file]
//   vbide --setup
// --vbe plays the Office applications' Visual Basic Editor instead of Visual Basic 6.0.
// --setup leaves on the machine what installing both editors would (see editor_setup.h).

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <string_view>

#include "vbide/editor_setup.h"
#include "vbide/ide_window.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--setup") {
        trawlex::Status setUp = trawlex::vbide::SetUpEditorMarkers();
        if (!setUp) std::fprintf(stderr, "vbide: %s\n", setUp.error().c_str());
        return setUp ? 0 : 1;
    }
    // Qt takes its own options (-platform, -style, ...) out of the arguments first.
    QApplication app(argc, argv);
    app.setApplicationName("vbide");
    auto flavour = trawlex::vbide::Flavour::VisualBasic6;
    QString path;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg == "--vbe") {
            flavour = trawlex::vbide::Flavour::OfficeEditor;
        } else if (arg.startsWith("--") || !path.isEmpty()) {
            std::fprintf(stderr,
                         "usage: vbide [--vbe] [project.vbp | group.vbg | module] | --setup\n");
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
