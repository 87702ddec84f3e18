#include "CMosaicsApp.h"

#include "AppIcon.h"
#include "CMosaicsDlg.h"
#include "layout/TLayout.h"

CMosaicsApp::CMosaicsApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("ZYLMosaics");
    setApplicationVersion("2.21");
    setWindowIcon(MakeAppIcon());
}

int CMosaicsApp::InitInstance() {
    // The one layout of the whole run; every editor and transfer works on it.
    TLayout layout;
    CMosaicsDlg dialog(layout, ui);
    dialog.exec();
    return 0;
}
