#include "QtTestApp.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

void UseScratchSettings() {
    static QTemporaryDir folder;
    for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
        QSettings::setPath(QSettings::NativeFormat, scope, folder.path());
        QSettings::setPath(QSettings::IniFormat, scope, folder.path());
    }
}

QApplication& QtTestApp() {
    static int argc = 1;
    static char name[] = "zyl_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        UseScratchSettings();
        return new QApplication(argc, argv);
    }();
    return *instance;
}
