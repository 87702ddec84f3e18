#include "CMosaicsApp.h"

#include "AppIcon.h"
#include "CMosaicsDlg.h"
#include "layout/TLayout.h"

#include <utility>

CMosaicsApp::CMosaicsApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("ZYLMosaics");
    setApplicationVersion("2.21");
    setWindowIcon(MakeAppIcon());
}

int CMosaicsApp::InitInstance(std::function<void()> probe) {
    // The one layout of the whole run; every editor and transfer works on it.
    TLayout layout;
    CMosaicsDlg dialog(layout, ui);
    if (probe) {
        dialog.SetFirstPaintHook([&dialog, probe = std::move(probe)] {
            probe();
            dialog.reject();
        });
    }
    dialog.exec();
    return 0;
}
