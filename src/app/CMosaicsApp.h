#pragma once

#include "editors/QtUiHost.h"

#include <QApplication>

// The application: runs the main window on the one layout until the window closes.
class CMosaicsApp : public QApplication {
    Q_OBJECT
public:
    CMosaicsApp(int& argc, char** argv);
    // Returns the program's exit status.
    [[nodiscard]] int InitInstance();

private:
    // The desktop every window and dialog of the run talks to.
    QtUiHost ui;
};
