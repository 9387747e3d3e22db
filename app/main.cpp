#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "compositor/StudioState.h"
#include "platform/FaceFinder.h"
#include "platform/Theme.h"
#include "shell/Frmzjm.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "makeover-studio: no display found (DISPLAY is not set); start it on a desktop.\n");
        return 2;
    }
    QApplication app(argc, argv);
    ms::theme::applyStudioTheme(app);
    // The studio state outlives every window; the program folder is the folder of the executable
    // and every data path is below it.
    ms::StudioState studio;
    // The face landmark model is read on its own thread once the window has painted its first frame,
    // so that the reading does not hold the first frame up.
    const ms::FaceFinder faces(ms::FaceFinder::defaultModelPath(), ms::FaceFinder::Start::WhenAsked);
    ms::Frmzjm window(studio, QCoreApplication::applicationDirPath());
    window.setFaceFinder(&faces);
    window.show();
    return app.exec();
}
