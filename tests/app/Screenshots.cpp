// Saves pictures of the main window in each of its states, of the progress window and of the
// about box, so they can be looked at: zyl-screenshots OUTPUT-FOLDER.
#include "QuickTiming.h"
#include "ScriptedUiHost.h"
#include "SimProcess.h"
#include "app/CAboutDlg.h"
#include "app/CFirmwareUpgrade.h"
#include "app/CMosaicsDlg.h"
#include "editors/CZYLProg.h"
#include "editors/CZylUserDlg.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>

#include <iostream>

namespace {

void save(QWidget& widget, const QString& folder, const QString& name) {
    widget.show();
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    if (!widget.grab().save(path))
        std::cerr << "cannot write " << path.toStdString() << '\n';
    else
        std::cout << path.toStdString() << '\n';
}

void connectedShot(UiHost& ui, const QString& folder, const QString& name, const std::vector<std::string>& arguments) {
    TempFolder state;
    TempFolder runtime;
    SimProcess sim(arguments, state.Path(), runtime.Path());
    TLayout layout;
    const std::string device = sim.DevicePath();
    CMosaicsDlg dlg(
        layout, ui, nullptr,
        [&] {
            return std::vector<PortEntry>{{device, "ZYL-1 simulator (" + device + ")"}};
        },
        simulatorTiming());
    dlg.portList->setCurrentIndex(0);
    dlg.OnConnect();
    save(dlg, folder, name);
}

// A layout as a user would have it: pages of every kind, a default page and settings made.
void fillProgrammedLayout(TLayout& layout) {
    layout.controlName = u"Main Floor Panel";
    layout.manualBrightness = 80;
    layout.sleepTimeout = 300;
    layout.pinOnWakeup = 1;
    layout.timeoutPin = u"2468";
    layout.securityPin = u"1357";
    layout.defaultPageTimeout = 60;
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Living Room"), nullptr);
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Kitchen"), nullptr);
    layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"Lighting Scenes"), nullptr);
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Climate"), nullptr);
    layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Door Code"), nullptr);
    layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"Audio Zones"), nullptr);
    layout.defaultPageId = layout.pages.front()->pageId;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zyl-screenshots OUTPUT-FOLDER\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    ScriptedUiHost ui;

    TLayout layout;
    CMosaicsDlg disconnected(layout, ui, nullptr, [] {
        return std::vector<PortEntry>{{"/dev/ttyUSB0", "ttyUSB0 — FT232R USB UART"},
                                      {"/dev/pts/4", "ZYL-1 simulator (/dev/pts/4)"}};
    });
    save(disconnected, folder, "main-disconnected");
    connectedShot(ui, folder, "main-connected", {});
    connectedShot(ui, folder, "main-connected-firmware-205", {"--firmware", "205"});
    connectedShot(ui, folder, "main-connected-no-answer", {"--no-info"});

    CFirmwareUpgrade reading(&disconnected, true);
    reading.progress(420);
    save(reading, folder, "progress-reading");
    CFirmwareUpgrade writing(&disconnected, false);
    writing.progress(800);
    save(writing, folder, "progress-writing");
    CAboutDlg about(&disconnected);
    save(about, folder, "about");

    TLayout programmed;
    fillProgrammedLayout(programmed);
    CZYLProg prog(programmed, ui, &disconnected);
    prog.pageList->setCurrentRow(2);
    save(prog, folder, "programming");
    CZylUserDlg userPage(programmed, static_cast<TUserPage&>(*programmed.pages[1]), ui, false, &prog);
    save(userPage, folder, "user-page");
    return 0;
}
