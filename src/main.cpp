#include "mainwindow/fmMain.h"
#include "mainwindow/fonts.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    zintrova::InstallFontSubstitutes();
    zintrova::fmMain window;
    window.show();
    return app.exec();
}
