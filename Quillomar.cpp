// The program start: initialise the application, create the
// main window (which runs FormCreate before it is shown), show it and run
// the event loop until the window is closed. Nothing is read or saved.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "frmMain.h"

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::fputs("Quillomar: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Run the same analysis without the window: quillomar-cli run\n",
                   stderr);
        return 1;
    }
    QApplication lApplication(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(QUILLOMAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quillomar"));
    quillomar::window::TForm1 Form1;
    Form1.show();
    return QApplication::exec();
}
