#include "mainwindow/fmMain.h"
#include "mainwindow/fonts.h"
#include "version.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QLatin1String(zintrova::app::AppId));
    zintrova::InstallFontSubstitutes();
    zintrova::fmMain window;
    window.show();
    return app.exec();
}
