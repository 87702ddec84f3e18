#include "QtTestApp.h"

#include <QApplication>

QApplication& QtTestApp() {
    static int argc = 1;
    static char name[] = "zyl_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *instance;
}
