// Saves pictures of the main window in each of its states and its menu, of the progress window and
// of the about box, so they can be looked at: zyl-screenshots OUTPUT-FOLDER.
#include "QtTestApp.h"
#include "QuickTiming.h"
#include "ScriptedUiHost.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "TryLayoutShots.h"
#include "app/CAboutDlg.h"
#include "app/CFirmwareUpgrade.h"
#include "app/CMosaicsDlg.h"
#include "editors/QtUiHost.h"
#include "editors/UndoSteps.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/CColourPopup.h"
#include "editors/dialogs/CAddImageDlg.h"
#include "editors/dialogs/CBtn8Dlg.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CEventDef.h"
#include "editors/dialogs/CHotspotDlg.h"
#include "editors/dialogs/CImageSizeDlg.h"
#include "editors/dialogs/CNumericDlg.h"
#include "editors/dialogs/CPageId.h"
#include "editors/dialogs/CSliderPropDlg.h"
#include "editors/dialogs/CZYLProg.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "link/CSerialPort.h"
#include "render/PageDrawing.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>

#include <iostream>
#include <memory>

namespace {

void write(const QPixmap& shot, const QString& folder, const QString& name) {
    const QString path = folder + "/" + name + ".png";
    if (!shot.save(path))
        std::cerr << "cannot write " << path.toStdString() << '\n';
    else
        std::cout << path.toStdString() << '\n';
}

void save(QWidget& widget, const QString& folder, const QString& name) {
    widget.show();
    QApplication::processEvents();
    write(widget.grab(), folder, name);
}

// The pty number the system hands out changes from run to run; the pictures show this one, so
// the committed ones change only when the windows do.
const std::string kShownDevice = "/dev/pts/3";

// A main window on its own simulator's port, not yet connected.
struct SimulatorWindow {
    SimulatorWindow(UiHost& ui, const std::vector<std::string>& arguments)
        : sim(arguments, state.Path(), runtime.Path()), device(sim.DevicePath()),
          dlg(
              layout, ui, nullptr,
              [this] {
                  return std::vector<PortEntry>{{device, "ZYL-1 simulator (" + kShownDevice + ")"}};
              },
              simulatorTiming()) {
        dlg.portList->setCurrentIndex(0);
    }

    // Shows the log as if the simulator had been given kShownDevice.
    void ShowStableDevice() {
        QString text = dlg.logView->toPlainText();
        text.replace(QString::fromStdString(device), QString::fromStdString(kShownDevice));
        dlg.logView->setPlainText(text);
    }

    TempFolder state;
    TempFolder runtime;
    SimProcess sim;
    const std::string device;
    TLayout layout;
    CMosaicsDlg dlg;
};

void connectedShot(UiHost& ui, const QString& folder, const QString& name, const std::vector<std::string>& arguments) {
    SimulatorWindow window(ui, arguments);
    window.dlg.OnConnect();
    window.ShowStableDevice();
    save(window.dlg, folder, name);
}

// The main window when another program holds the port it is asked to open.
void portBusyShot(UiHost& ui, const QString& folder) {
    SimulatorWindow window(ui, {});
    CSerialPort holder;
    holder.Open(window.device);
    window.dlg.OnConnect();
    window.ShowStableDevice();
    save(window.dlg, folder, "main-port-busy");
}

void writePage(const TUserPage& page, const QString& folder, const QString& name) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, page, nullptr);
    const std::vector<std::uint8_t> png = surface.EncodePng();
    const QString path = folder + "/" + name + ".png";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(png.data()), static_cast<qint64>(png.size())) !=
            static_cast<qint64>(png.size()))
        std::cerr << "cannot write " << path.toStdString() << '\n';
    else
        std::cout << path.toStdString() << '\n';
}

// What a new user meets: the simulator's own layout, read from it as Connect does, in the
// programming dialog and the page editor, and its user pages as the panel shows them.
void demoShots(UiHost& ui, const QString& folder) {
    SimulatorWindow window(ui, {});
    CMosaicsDlg& dlg = window.dlg;
    TLayout& layout = window.layout;
    dlg.OnConnect();
    if (layout.pages.empty()) {
        std::cerr << "the simulator gave no layout\n";
        return;
    }

    CZYLProg prog(layout, ui, &dlg);
    prog.pageList->setCurrentRow(0);
    save(prog, folder, "demo-programming");

    auto& living = static_cast<TUserPage&>(*layout.pages.front());
    CZylUserDlg editor(layout, living, ui, false, &prog);
    // The "Evening" button, selected as a click on it leaves it.
    editor.canvas->OnLButtonDown(150, 75);
    editor.canvas->OnLButtonUp();
    save(editor, folder, "demo-user-page-editor");

    for (const auto& page : layout.pages)
        if (page->kind == TListItem::kUserPage)
            writePage(static_cast<const TUserPage&>(*page), folder, QString("demo-page-%1").arg(page->pageId));
    if (layout.sleepPage)
        writePage(*layout.sleepPage, folder, "demo-sleep-page");
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

// A landscape of the camera's size: a sky that fades to the horizon, a sun, rolling hills and a
// lake, so the fitted preview has something to show.
Picture landscape(int width, int height) {
    Picture picture(width, height);
    const auto channel = [](double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); };
    for (int y = 0; y < height; ++y) {
        const double fy = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = static_cast<double>(x) / width;
            const double hill = 0.58 + 0.06 * std::sin(fx * 7.0) + 0.03 * std::sin(fx * 19.0 + 1.0);
            const double sun = std::hypot(fx - 0.72, (fy - 0.25) * height / width);
            double r = 40 + 200 * fy, g = 110 + 120 * fy, b = 230 - 40 * fy;
            if (sun < 0.07) {
                r = 255, g = 225, b = 120;
            } else if (sun < 0.11) {
                const double glow = (0.11 - sun) / 0.04;
                r += (255 - r) * glow, g += (200 - g) * glow, b += (120 - b) * glow;
            }
            if (fy > hill) {
                const double depth = (fy - hill) * 3.0;
                r = 60 + 50 * std::sin(fx * 40.0) * 0.2 - 30 * depth;
                g = 150 - 60 * depth + 20 * std::sin(fx * 90.0 + fy * 30.0);
                b = 50 - 20 * depth;
            }
            if (fy > 0.8 && fx > 0.15 && fx < 0.6) {
                r = 30 + 40 * (fy - 0.8), g = 90 + 60 * std::sin(fx * 60.0) * 0.2, b = 170 + 40 * (fy - 0.8) * 5;
            }
            picture.SetPixel(x, y, {channel(r), channel(g), channel(b), 255});
        }
    }
    return picture;
}

// "Add Image" with a photo fitted to the screen, and "Image Size" as Resize opens it.
void imageShots(ScriptedUiHost& ui, const QString& folder, QWidget* parent) {
    TempFolder files;
    ui.openFiles = {QString::fromStdString(files.Write("Garden View.png", landscape(640, 480).EncodePng()))};
    CAddImageDlg add(ui, parent);
    add.move(120, 80);
    save(add, folder, "add-image");
    CImageSizeDlg size(ui, &add);
    size.width = add.width;
    size.height = add.height;
    size.retainAspect = 1;
    save(size, folder, "image-size");
}

// A rounded button picture shaded from `light` at the top to `dark` at the bottom.
std::unique_ptr<Picture> buttonPicture(int width, int height, Rgba light, Rgba dark) {
    auto picture = std::make_unique<Picture>(width, height);
    picture->SetHasAlpha(true);
    const auto mix = [&](std::uint8_t a, std::uint8_t b, int y) {
        return static_cast<std::uint8_t>(a + (b - a) * y / (height - 1));
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int dx = std::max({0, 8 - x, x - (width - 9)});
            const int dy = std::max({0, 8 - y, y - (height - 9)});
            const bool inside = dx * dx + dy * dy <= 64;
            const bool edge =
                inside && (dx * dx + dy * dy > 49 || x == 0 || y == 0 || x == width - 1 || y == height - 1);
            Rgba colour{mix(light.r, dark.r, y), mix(light.g, dark.g, y), mix(light.b, dark.b, y), 255};
            if (edge)
                colour = {20, 30, 60, 255};
            if (!inside)
                colour.a = 0;
            picture->SetPixel(x, y, colour);
        }
    return picture;
}

// The object property dialogs on a layout with pages of every kind and two button pictures.
void propertyShots(UiHost& ui, const QString& folder) {
    TLayout layout;
    fillProgrammedLayout(layout);
    const std::int32_t up =
        layout.AddUserImage(u"Blue button", buttonPicture(100, 56, {120, 170, 240, 0}, {30, 70, 160, 0})).id;
    const std::int32_t down =
        layout.AddUserImage(u"Blue button pressed", buttonPicture(100, 56, {30, 70, 160, 0}, {90, 140, 220, 0})).id;

    CButtonAddDlg button(&layout, ui);
    button.upFace.kind = TUserFace::kImage;
    button.upFace.value = up;
    button.upFace.text = u"Lights";
    button.upFace.textColor = 0x00FFFFFF;
    button.downFace.kind = TUserFace::kImage;
    button.downFace.value = down;
    button.downFace.text = u"Lights";
    button.downFace.textColor = 0x0000FFFF;
    button.toggle = true;
    button.holdTime = 1.5;
    button.downEvent = u"#LIGHTS LR ON";
    button.upEvent = u"#LIGHTS LR OFF";
    button.entryPageId = -1;
    save(button, folder, "button-object");

    CButtonAddDlg selector(&layout, ui);
    selector.isSelector = true;
    selector.selectorId = 3;
    selector.upFace.kind = TUserFace::kButtonFace;
    selector.upFace.value = 3;
    selector.upFace.text = u"Zone 3";
    selector.downEvent = u"#AUDIO ZONE 3";
    save(selector, folder, "button-object-selector");

    CHotspotDlg hotspot(&layout);
    hotspot.ownPageId = layout.pages.front()->pageId;
    hotspot.targetPageId = 2;
    hotspot.requirePin = true;
    hotspot.pin = u"2468";
    save(hotspot, folder, "hotspot");

    CSliderPropDlg slider(&layout, ui);
    slider.controlId = 6;
    save(slider, folder, "slider");
    CSliderPropDlg lying(&layout, ui);
    lying.width = 150;
    lying.height = 45;
    lying.controlId = 107;
    save(lying, folder, "slider-lying");

    CPageId pageId(layout, *layout.pages[1], ui);
    save(pageId, folder, "set-page-id");
}

// The face dialog on a page background: a gradient with a caption, and an imported picture.
void faceShots(UiHost& ui, const QString& folder) {
    TLayout layout;
    layout.AddUserImage(u"Front door", std::make_unique<Picture>(landscape(60, 40)));
    const std::int32_t garden = layout.AddUserImage(u"Garden view", std::make_unique<Picture>(landscape(320, 240))).id;

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
    image.face.value = garden;
    image.face.textColor = 0x00FFFFFF;
    image.face.textSize = TUserFace::kMedium;
    image.face.text = u"Good evening";
    save(image, folder, "face-image");
}

// A menu opened at `at` (in the coordinates of `under`), as the user sees it: beside the pointer,
// with the submenu open where there is one.
void menuShot(QWidget& under, QMenu& menu, QPoint at, const QString& folder, const QString& name) {
    menu.popup(under.mapToGlobal(at));
    QApplication::processEvents();
    QMenu* submenu = nullptr;
    for (QAction* action : menu.actions())
        if (action->menu() != nullptr) {
            menu.setActiveAction(action);
            submenu = action->menu();
            submenu->popup(menu.pos() + QPoint(menu.width() - 2, menu.actionGeometry(action).top() - 3));
            QApplication::processEvents();
        }
    const auto local = [&under](const QWidget& popup) { return QRect(under.mapFromGlobal(popup.pos()), popup.size()); };
    QRect area = under.rect().united(local(menu));
    if (submenu != nullptr)
        area = area.united(local(*submenu));
    QPixmap shot(area.size());
    shot.fill(under.palette().color(QPalette::Window));
    QPainter painter(&shot);
    painter.translate(-area.topLeft());
    painter.drawPixmap(0, 0, under.grab());
    painter.drawPixmap(local(menu).topLeft(), menu.grab());
    if (submenu != nullptr) {
        painter.drawPixmap(local(*submenu).topLeft(), submenu->grab());
        submenu->close();
    }
    menu.close();
    painter.end();
    write(shot, folder, name);
}

// A right click on the canvas: the menu centred on the pointer.
void contextMenuShot(CZylWnd& canvas, bool sleepPage, QPoint at, const QString& folder, const QString& name) {
    const std::unique_ptr<QMenu> menu =
        MakePopupMenu(CZylWnd::ContextMenu(sleepPage, canvas.page->ObjectAt(at.x(), at.y()) != nullptr), nullptr);
    menuShot(canvas, *menu, QPoint(at.x(), at.y() - menu->sizeHint().height() / 2), folder, name);
}

// The main window's own menu, from a right click between Reboot and Exit, the read-back check on.
void mainMenuShot(CMosaicsDlg& dlg, const QString& folder) {
    dlg.verifyUploadsAction->setChecked(true);
    QMenu menu;
    menu.addActions(dlg.actions());
    const QPoint at(dlg.rebootButton->geometry().center().x(),
                    (dlg.rebootButton->geometry().bottom() + dlg.exitButton->geometry().top()) / 2);
    menuShot(dlg, menu, at, folder, "main-menu");
    dlg.verifyUploadsAction->setChecked(false);
}

// The progress window part way through a transfer of even pace, on a clock of its own, so the
// time left shows.
void progressShot(QWidget* parent, bool reading, int permille, std::uint32_t msPerPermille, const QString& folder,
                  const QString& name) {
    std::uint32_t now = 0;
    CFirmwareUpgrade window(parent, reading, [&now] { return now; });
    for (int done = 0; done <= permille; done += 10) {
        // The speed switch comes before the first block.
        now = 800 + static_cast<std::uint32_t>(done) * msPerPermille;
        window.progress(done);
    }
    save(window, folder, name);
}

// A busy page: a gradient, captioned buttons, a photo, a slider and a hot spot.
void furnishPage(TLayout& layout, TUserPage& page) {
    page.face.kind = TUserFace::kColor;
    page.face.value = TUserFace::kTopToBottom;
    page.face.color1 = 0x00502010;
    page.face.color2 = 0x00F0C890;
    const auto place = [&page](std::unique_ptr<TUserObject> object, int left, int top, int width, int height) {
        object->left = left;
        object->top = top;
        object->width = width;
        object->height = height;
        page.AddObject(std::move(object));
    };
    const char16_t* captions[] = {u"Lights", u"Blinds"};
    for (int i = 0; i < 2; ++i) {
        auto button = std::make_unique<TUserButton>();
        button->upFace.kind = TUserFace::kButtonFace;
        button->upFace.value = 3;
        button->upFace.text = captions[i];
        place(std::move(button), 16, 20 + 64 * i, 85, 50);
    }
    auto photo = std::make_unique<TUserImage>();
    photo->face.kind = TUserFace::kImage;
    photo->face.value = layout.AddUserImage(u"Garden View", std::make_unique<Picture>(landscape(120, 90))).id;
    place(std::move(photo), 116, 20, 120, 90);
    place(std::make_unique<TUserLevel>(), 262, 40, 45, 130);
    place(std::make_unique<TUserHotspot>(), 116, 150, 120, 60);
}

// The page canvas on its own, with one button selected after the user dragged it, and its two
// context menus.
void canvasShot(UiHost& ui, const QString& folder) {
    TLayout layout;
    TUserPage page(&layout, u"Living Room");
    furnishPage(layout, page);
    CZylWnd canvas(page, ui);
    canvas.OnLButtonDown(30, 110);
    // With Alt the button lands where the pointer puts it, a pixel off the page's centre line.
    canvas.OnMouseMove(40, 120, Qt::AltModifier);
    canvas.OnLButtonUp();
    save(canvas, folder, "page-canvas");
    contextMenuShot(canvas, false, {40, 40}, folder, "page-canvas-menu");
    contextMenuShot(canvas, true, {150, 230}, folder, "sleep-page-menu");
}

// The page editor while the photo is dragged, its status line following, and the canvas menu on
// the photo with something on the clipboard, its clipboard and placing entries at the bottom.
void canvasEditShots(CZylUserDlg& editor, const QString& folder) {
    editor.show();
    const auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, editor.canvas->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(editor.canvas, &event);
    };
    mouse(QEvent::MouseButtonPress, {150, 60}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {162, 68}, Qt::LeftButton);
    save(editor, folder, "page-canvas-status");
    mouse(QEvent::MouseButtonRelease, {162, 68}, Qt::NoButton);

    editor.canvas->OnKey(Qt::Key_C, Qt::ControlModifier);
    std::vector<MenuItem> items = CZylWnd::ContextMenu(false, true);
    const std::vector<MenuItem> edit = CZylWnd::EditMenu(true, true);
    items.insert(items.end(), edit.begin(), edit.end());
    items.emplace_back();
    for (MenuItem& item : UndoMenuItems(editor.canvas->undoStack))
        items.push_back(std::move(item));
    const std::unique_ptr<QMenu> menu = MakePopupMenu(items, nullptr);
    menuShot(*editor.canvas, *menu, QPoint(170, 70 - menu->sizeHint().height() / 2), folder,
             "page-canvas-edit-menu");
}

// The user page editor on a busy page, the photo selected, then at 2x with guides, then its
// status line and edit menu.
void userPageEditorShot(UiHost& ui, const QString& folder, QWidget* parent) {
    TLayout layout;
    fillProgrammedLayout(layout);
    auto& page = static_cast<TUserPage&>(*layout.pages[1]);
    furnishPage(layout, page);

    CZylUserDlg editor(layout, page, ui, false, parent);
    editor.canvas->OnLButtonDown(150, 60);
    editor.canvas->OnLButtonUp();
    save(editor, folder, "user-page-editor");

    // At 2x during a drag: the slider, pulled up, snaps to the photo's top edge, and its bottom
    // meets the hot spot's top; the guides show both.
    editor.canvas->SetZoom(2);
    editor.canvas->OnLButtonDown(284, 100);
    editor.canvas->OnMouseMove(284, 82);
    save(editor, folder, "user-page-editor-zoom-guides");
    editor.canvas->OnLButtonUp();
    // The zoom shot's move, taken back, leaves the page as it was for the next pictures.
    editor.canvas->Undo();
    editor.canvas->SetZoom(1);
    canvasEditShots(editor, folder);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zyl-screenshots OUTPUT-FOLDER\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings the pictures show are their own, not the user's.
    UseScratchSettings();
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    ScriptedUiHost ui;

    TLayout layout;
    CMosaicsDlg disconnected(layout, ui, nullptr, [] {
        return std::vector<PortEntry>{{"/dev/ttyUSB0", "ttyUSB0 — FT232R USB UART"},
                                      {kShownDevice, "ZYL-1 simulator (" + kShownDevice + ")"}};
    });
    save(disconnected, folder, "main-disconnected");
    connectedShot(ui, folder, "main-connected", {});
    connectedShot(ui, folder, "main-connected-firmware-205", {"--firmware", "205"});
    connectedShot(ui, folder, "main-connected-no-answer", {"--no-info"});
    portBusyShot(ui, folder);

    mainMenuShot(disconnected, folder);
    progressShot(&disconnected, true, 420, 60, folder, "progress-reading");
    progressShot(&disconnected, false, 800, 125, folder, "progress-writing");
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
    userPageEditorShot(ui, folder, &prog);
    faceShots(ui, folder);
    imageShots(ui, folder, &disconnected);
    propertyShots(ui, folder);
    canvasShot(ui, folder);
    demoShots(ui, folder);
    TryLayoutShots([&folder](QWidget& widget, const QString& name) { save(widget, folder, name); });
    return 0;
}
