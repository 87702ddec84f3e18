#pragma once

#include "editors/QtUiHost.h"

#include <QApplication>

#include <functional>

// The application: runs the main window on the one layout until the window closes.
class CMosaicsApp : public QApplication {
    Q_OBJECT
public:
    CMosaicsApp(int& argc, char** argv);
    // Returns the program's exit status. A given probe is called once the main window is first
    // painted, and the run then ends as if the user had closed the window.
    [[nodiscard]] int InitInstance(std::function<void()> probe = {});

private:
    // The desktop every window and dialog of the run talks to.
    QtUiHost ui;
};
