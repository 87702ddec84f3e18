// Saves pictures of the main window in each of its states, of the progress window and of the
// about box, so they can be looked at: zyl-screenshots OUTPUT-FOLDER.
#include "QuickTiming.h"
#include "ScriptedUiHost.h"
#include "SimProcess.h"
#include "app/CAboutDlg.h"
#include "app/CFirmwareUpgrade.h"
#include "app/CMosaicsDlg.h"
#include "editors/CBtn8Dlg.h"
#include "editors/CColorButton.h"
#include "editors/CColourPopup.h"
#include "editors/CEventDef.h"
#include "editors/CNumericDlg.h"
#include "editors/CZYLProg.h"
#include "editors/CZylFaceDlg.h"
#include "editors/CZylUserDlg.h"
#include "layout/AnsiCodePage.h"
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

// The event definitions whole and cut down to a small window, and an eight-button page.
void eventShots(const QString& folder) {
    const char16_t* events[][2] = {
        {u"Lights on (living room)", u"#LIGHTS LR ON"},
        {u"Lights off (living room)", u"#LIGHTS LR OFF"},
        {u"Scene: dinner", u"#SCENE 3"},
        {u"Blinds up", u"#BLINDS ALL UP"},
        {u"Blinds down", u"#BLINDS ALL DOWN"},
        {u"Heating comfort 21 \u00B0C", u"#HEAT SET 21"},
        {u"Heating eco", u"#HEAT ECO"},
        {u"Garage door", u"#GARAGE TOGGLE"},
        {u"Music play", u"#AUDIO PLAY"},
        {u"Music stop", u"#AUDIO STOP"},
        {u"Volume up", u"#AUDIO VOL+"},
        {u"Volume down", u"#AUDIO VOL-"},
        {u"Alarm arm", u"#ALARM ARM AWAY"},
        {u"Alarm disarm", u"#ALARM DISARM"},
        {u"Terrace lights", u"#LIGHTS TERRACE TOGGLE"},
        {u"Fountain", u"#POND PUMP TOGGLE"},
    };
    TLayout layout;
    for (int i = 0; i < static_cast<int>(std::size(events)); ++i) {
        StoreAnsiSlot(events[i][0], {layout.EventDescription(i), TLayout::kEventBytes}, CEventDef::kStoredBytes);
        StoreAnsiSlot(events[i][1], {layout.EventText(i), TLayout::kEventBytes}, CEventDef::kStoredBytes);
    }
    CEventDef whole(layout);
    whole.resize(whole.DesignedSize());
    save(whole, folder, "events");
    CEventDef small(layout);
    small.resize(460, 300);
    save(small, folder, "events-small");

    const char16_t* buttons[][2] = {
        {u"Lights", u"#LIGHTS LR ON"},
        {u"Dim", u"#LIGHTS LR 30"},
        {u"Off", u"#LIGHTS LR OFF"},
        {u"Blinds up", u"#BLINDS ALL UP"},
        {u"Blinds down", u"#BLINDS ALL DOWN"},
        {u"Caf\u00E9", u"#SCENE CAFE"},
        {u"Music", u"#AUDIO PLAY"},
        {u"All off", u"#ALL OFF"},
    };
    CBtn8Ctrl page(nullptr, u"8 Button");
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        StoreAnsiSlot(buttons[i][0], page.buttonLabels[i]);
        StoreAnsiSlot(buttons[i][1], page.buttonEvents[i]);
    }
    CBtn8Dlg btn8(page);
    save(btn8, folder, "btn8");
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

// A picture a user might import: a sky going from blue to orange over a dark hill and a sun.
std::unique_ptr<Picture> sunsetPicture(int width, int height) {
    auto picture = std::make_unique<Picture>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int t = 255 * y / height;
            Rgba pixel{static_cast<std::uint8_t>(40 + t * 200 / 255), static_cast<std::uint8_t>(60 + t / 3),
                       static_cast<std::uint8_t>(160 - t / 2), 255};
            const int dx = x - width / 2;
            const int dy = y - height * 2 / 3;
            if (dx * dx + dy * dy < height * height / 25)
                pixel = {255, 220, 120, 255};
            if (y > height * 3 / 4 + (dx * dx) / (width * 2))
                pixel = {30, 50, 30, 255};
            picture->SetPixel(x, y, pixel);
        }
    }
    return picture;
}

// The face dialog on a page background: a gradient with a caption, and an imported picture.
void faceShots(UiHost& ui, const QString& folder) {
    TLayout layout;
    layout.AddUserImage(u"Front door", sunsetPicture(60, 40));
    const std::int32_t sunset = layout.AddUserImage(u"Sunset over the bay", sunsetPicture(320, 240)).id;

    CZylFaceDlg gradient(&layout, ui);
    gradient.face.kind = TUserFace::kColor;
    gradient.face.value = TUserFace::kTopToBottom;
    gradient.face.color1 = 0x00400000;
    gradient.face.color2 = 0x00FFC080;
    gradient.face.textColor = 0x00FFFFFF;
    gradient.face.textSize = TUserFace::kLarge;
    gradient.face.text = u"Living Room";
    save(gradient, folder, "face-gradient");

    CZylFaceDlg image(&layout, ui);
    image.face.kind = TUserFace::kImage;
    image.face.value = sunset;
    image.face.textColor = 0x00FFFFFF;
    image.face.textSize = TUserFace::kMedium;
    image.face.text = u"Good evening";
    save(image, folder, "face-image");
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
    eventShots(folder);

    CNumericCtrl keypad(nullptr, u"Door Keypad");
    keypad.backgroundColor = 0x008B0000;
    keypad.primaryColor = 0x00C0C0C0;
    keypad.highlightColor = 0x0000D7FF;
    keypad.textColor = static_cast<std::int32_t>(0x00FFFFFF);
    keypad.textLines = {u"Enter your code", u"then press OK", u"", u""};
    CNumericDlg numeric(keypad, ui);
    numeric.move(120, 80);
    save(numeric, folder, "numeric-entry-page");
    // The background colour's popup, open on dark blue with the mouse over light blue.
    numeric.backgroundColor->click();
    if (CColourPopup* popup = numeric.backgroundColor->Popup()) {
        popup->ChangeSelection(21);
        save(*popup, folder, "colour-popup");
        popup->EndSelection(false);
    }

    TLayout programmed;
    fillProgrammedLayout(programmed);
    CZYLProg prog(programmed, ui, &disconnected);
    prog.pageList->setCurrentRow(2);
    save(prog, folder, "programming");
    CZylUserDlg userPage(programmed, static_cast<TUserPage&>(*programmed.pages[1]), ui, false, &prog);
    save(userPage, folder, "user-page");
    faceShots(ui, folder);
    return 0;
}
