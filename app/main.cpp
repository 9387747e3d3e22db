#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "shell/Frmzjm.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "makeover-studio: no display found (DISPLAY is not set); start it on a desktop.\n");
        return 2;
    }
    QApplication app(argc, argv);
    // The program folder is the folder of the executable; every data path is below it.
    ms::Frmzjm window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
