#include "MainWindowFixture.h"
#include "PtyPair.h"
#include "QtTestApp.h"
#include "QuickTiming.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "app/CFirmwareUpgrade.h"
#include "app/CMosaicsDlg.h"
#include "editors/dialogs/CBtn8Dlg.h"
#include "editors/dialogs/CEventDef.h"
#include "editors/dialogs/CZYLProg.h"
#include "editors/tryout/CTryLayoutDlg.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "layout/TUserImage.h"
#include "layout/TUserPage.h"
#include "link/LinkProtocol.h"
#include "link/Transfers.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

namespace {

struct Buttons {
    std::string caption;
    bool upload, upgrade, reboot;
};

Buttons buttonsOf(CMosaicsDlg& dlg) {
    return {dlg.connectButton->accessibleName().toStdString(), dlg.uploadButton->isEnabled(),
            dlg.upgradeButton->isEnabled(), dlg.rebootButton->isEnabled()};
}

TEST_F(MainWindow, StartsDisconnectedWithTheCaptionsAndButtons) {
    auto dlg = window("/dev/null");
    EXPECT_EQ(dlg->windowTitle(), "ZYLMosaics");
    EXPECT_TRUE(dlg->exitButton->isDefault());
    const Buttons b = buttonsOf(*dlg);
    EXPECT_EQ(b.caption, "Connect");
    EXPECT_FALSE(b.upload || b.upgrade || b.reboot);
    for (QPushButton* button : {dlg->connectButton, dlg->editLayoutButton, dlg->defineEventsButton, dlg->exitButton})
        EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(dlg->logView->toPlainText().isEmpty());
}

// Exit is the default button, so Enter anywhere that does not claim it would end the window and
// drop the layout being edited: a focused command and the port field claim it.
// The upload settings follow About in the window's menu, reach the session at once and at the
// next start.
TEST_F(MainWindow, UploadSettingsReachTheSessionAndAreRemembered) {
    using Options = std::pair<bool, bool>; // verify, full windows
    const auto options = [](CMosaicsDlg& d) {
        return Options(d.GetSession().GetUploadOptions().verify, d.GetSession().GetUploadOptions().fullWindows);
    };
    auto dlg = window("/dev/null");
    QMenu menu;
    menu.addActions(dlg->actions());
    QAccessibleInterface* items = QAccessible::queryAccessibleInterface(&menu);
    ASSERT_EQ(items->childCount(), 6);
    EXPECT_EQ(items->child(0)->text(QAccessible::Name), "About ZYLMosaics...");
    EXPECT_TRUE(dlg->actions()[1]->isSeparator());
    EXPECT_EQ(items->child(2)->text(QAccessible::Name), "Verify Uploads by Reading Back");
    EXPECT_EQ(items->child(3)->text(QAccessible::Name), "Full Reply Windows for Uploads");
    EXPECT_TRUE(dlg->actions()[4]->isSeparator());
    EXPECT_EQ(items->child(5)->text(QAccessible::Name), "Try Layout");

    EXPECT_EQ(options(*dlg), Options(false, false));
    const struct {
        QAction* CMosaicsDlg::*setting;
        Options after;
    } toggles[] = {{&CMosaicsDlg::verifyUploadsAction, {true, false}},
                   {&CMosaicsDlg::fullWindowsAction, {true, true}},
                   {&CMosaicsDlg::verifyUploadsAction, {false, true}}};
    for (const auto& t : toggles) {
        ((*dlg).*t.setting)->trigger();
        EXPECT_EQ(options(*dlg), t.after);
    }
    dlg.reset();
    auto next = window("/dev/null");
    EXPECT_EQ(options(*next), Options(false, true));
    EXPECT_TRUE(next->fullWindowsAction->isChecked());
    EXPECT_FALSE(next->verifyUploadsAction->isChecked());
}

// The time left comes once the rate is measured from the first block on, and screen readers hear it.
TEST_F(MainWindow, ProgressWindowShowsTheTimeLeft) {
    std::uint32_t now = 0;
    CFirmwareUpgrade progress(nullptr, false, [&now] { return now; });
    EXPECT_EQ(progress.windowTitle(), "Progress");
    EXPECT_EQ(progress.text->text(), "Writing Data to the Control");
    const struct {
        int permille;
        std::uint32_t at;
        const char* shown;
    } steps[] = {{0, 0, ""}, {10, 800, ""}, {30, 1800, "About 50 seconds left"}};
    for (const auto& step : steps) {
        now = step.at;
        progress.progress(step.permille);
        EXPECT_EQ(progress.timeLeft->text(), step.shown) << step.permille;
        EXPECT_EQ(progress.timeLeft->accessibleName(), *step.shown ? step.shown : "Time left") << step.permille;
    }
}

TEST_F(MainWindow, EnterRunsTheFocusedCommandAndNeverExitBehindIt) {
    using Widget = QWidget* (*)(CMosaicsDlg&);
    using Button = QPushButton* (*)(CMosaicsDlg&);
    const struct {
        const char* name;
        Widget focused;
        Button runs;
        bool ends;
    } cases[] = {
        {"connect", [](CMosaicsDlg& d) -> QWidget* { return d.connectButton; },
         [](CMosaicsDlg& d) { return d.connectButton; }, false},
        {"edit layout", [](CMosaicsDlg& d) -> QWidget* { return d.editLayoutButton; },
         [](CMosaicsDlg& d) { return d.editLayoutButton; }, false},
        {"define events", [](CMosaicsDlg& d) -> QWidget* { return d.defineEventsButton; },
         [](CMosaicsDlg& d) { return d.defineEventsButton; }, false},
        {"upload", [](CMosaicsDlg& d) -> QWidget* { return d.uploadButton; },
         [](CMosaicsDlg& d) { return d.uploadButton; }, false},
        {"upgrade", [](CMosaicsDlg& d) -> QWidget* { return d.upgradeButton; },
         [](CMosaicsDlg& d) { return d.upgradeButton; }, false},
        {"reboot", [](CMosaicsDlg& d) -> QWidget* { return d.rebootButton; },
         [](CMosaicsDlg& d) { return d.rebootButton; }, false},
        {"exit", [](CMosaicsDlg& d) -> QWidget* { return d.exitButton; }, [](CMosaicsDlg& d) { return d.exitButton; },
         true},
        {"port field", [](CMosaicsDlg& d) -> QWidget* { return d.portList->lineEdit(); },
         [](CMosaicsDlg& d) { return d.connectButton; }, false},
    };
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};
    for (const auto& c : cases)
        for (const auto& k : keys) {
            const std::string what = std::string(c.name) + (k.key == Qt::Key_Enter ? ", Enter" : ", Return");
            auto dlg = window("/dev/zyl-no-such-port");
            QApplication::setActiveWindow(dlg.get());
            ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get())) << what;
            // Disconnected, some commands are off; what Enter does must not depend on that.
            c.runs(*dlg)->setEnabled(true);
            QWidget* focused = c.focused(*dlg);
            focused->setEnabled(true);
            focused->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(focused->hasFocus()) << what;
            QSignalSpy ran(c.runs(*dlg), &QPushButton::clicked);
            QSignalSpy ended(dlg.get(), &QDialog::finished);
            QTest::keyClick(focused, k.key, k.modifiers);
            EXPECT_EQ(ran.count(), 1) << what;
            EXPECT_EQ(ended.count(), c.ends ? 1 : 0) << what;
            EXPECT_EQ(dlg->isVisible(), !c.ends) << what;
        }
    // Enter in the log runs nothing and keeps the window.
    {
        auto dlg = window("/dev/zyl-no-such-port");
        QApplication::setActiveWindow(dlg.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        dlg->logView->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(dlg->logView->hasFocus());
        QSignalSpy ended(dlg.get(), &QDialog::finished);
        QTest::keyClick(dlg->logView, Qt::Key_Return);
        EXPECT_EQ(ended.count(), 0);
        EXPECT_TRUE(dlg->isVisible());
    }
    // From the port field Enter connects to the typed path.
    auto dlg = window("/dev/null");
    QApplication::setActiveWindow(dlg.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    dlg->portList->setEditText("/dev/zyl-no-such-port");
    dlg->portList->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dlg->portList->lineEdit(), Qt::Key_Return);
    EXPECT_NE(logOf(*dlg).find("/dev/zyl-no-such-port"), std::string::npos) << logOf(*dlg);
}

TEST_F(MainWindow, ConnectIdentifiesAndDownloadsThenDisconnects) {
    startSim();
    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    EXPECT_EQ(logOf(*dlg), "Connected Succesfully\r\nHardware Version: 3\r\nFirmware Version: 221\r\n"
                           "Downloaded layout from control\r\n");
    const Buttons connected = buttonsOf(*dlg);
    EXPECT_EQ(connected.caption, "Disconnect");
    EXPECT_TRUE(connected.upload && connected.upgrade && connected.reboot);
    EXPECT_EQ(layout.pages.size(), 6u);
    EXPECT_FALSE(dlg->portList->isEnabled());

    const std::string logBefore = logOf(*dlg);
    click(dlg->connectButton);
    const Buttons after = buttonsOf(*dlg);
    EXPECT_EQ(after.caption, "Connect");
    EXPECT_FALSE(after.upload || after.upgrade || after.reboot);
    EXPECT_EQ(logOf(*dlg), logBefore) << "disconnecting logs nothing";
}

TEST_F(MainWindow, UploadIsOfferedFromFirmware206) {
    struct Case {
        std::vector<std::string> arguments;
        bool upload;
    };
    const Case cases[] = {{{"--firmware", "205"}, false}, {{"--firmware", "206"}, true}};
    for (const auto& c : cases) {
        startSim(c.arguments);
        auto dlg = window(sim->DevicePath());
        click(dlg->connectButton);
        const Buttons b = buttonsOf(*dlg);
        EXPECT_EQ(b.upload, c.upload) << c.arguments[1];
        EXPECT_TRUE(b.upgrade && b.reboot);
    }
}

TEST_F(MainWindow, SilentPanelStaysConnectedUnidentified) {
    startSim({"--no-info"});
    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    EXPECT_EQ(logOf(*dlg), "No response after connection\r\nFirmware version may be pre 2.00\r\n");
    const Buttons b = buttonsOf(*dlg);
    EXPECT_EQ(b.caption, "Disconnect");
    EXPECT_FALSE(b.upload);
    EXPECT_TRUE(b.upgrade && b.reboot);
}

TEST_F(MainWindow, AnOlderPanelAfterANewerOneDisablesUploadAgain) {
    startSim();
    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    EXPECT_TRUE(dlg->uploadButton->isEnabled());
    click(dlg->connectButton);
    startSim({"--firmware", "200"});
    dlg->portList->setEditText(QString::fromStdString(sim->DevicePath())); // typed by hand
    click(dlg->connectButton);
    EXPECT_EQ(dlg->GetSession().Device(), sim->DevicePath());
    EXPECT_TRUE(dlg->GetSession().Connected());
    EXPECT_FALSE(dlg->uploadButton->isEnabled());
}

TEST_F(MainWindow, FirmwareUpgradeEndsDisconnected) {
    startSim();
    TempDir files;
    std::vector<std::uint8_t> firmware(2500);
    for (std::size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::ofstream(files.Path("new.zfw"), std::ios::binary)
        .write(reinterpret_cast<const char*>(firmware.data()), static_cast<std::streamsize>(firmware.size()));
    ui.openFiles.push_back(QString::fromStdString(files.Path("new.zfw")));

    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    click(dlg->upgradeButton);
    EXPECT_TRUE(ui.fileRequests.front().endsWith("ZYL-1 Firmware File (*.zfw);;All Files (*)"));
    const std::string log = logOf(*dlg);
    EXPECT_TRUE(log.ends_with("Firmware updated\r\nControl will restart automaticaly\r\nDisconnected\r\n")) << log;
    const Buttons b = buttonsOf(*dlg);
    EXPECT_EQ(b.caption, "Connect");
    EXPECT_FALSE(b.upload || b.upgrade || b.reboot);
    std::vector<std::uint8_t> landed;
    ASSERT_TRUE(ReadWholeFile(state.Path() + "/firmware.zfw", 10000, landed, nullptr));
    EXPECT_EQ(landed, firmware);
}

TEST_F(MainWindow, AnEditedLayoutComesBackIdentical) {
    startSim();
    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    layout.controlName = u"Edited \u00E9";
    MakeRichLayout(layout);
    TempDir files;
    ASSERT_TRUE(layout.SaveTemplate(files.Path("sent.zyl")));
    TLayout sent;
    ASSERT_TRUE(sent.LoadTemplate(files.Path("sent.zyl")));

    click(dlg->uploadButton);
    EXPECT_TRUE(dlg->GetSession().LastProblem().empty()) << dlg->GetSession().LastProblem();
    click(dlg->connectButton);
    click(dlg->connectButton);
    EXPECT_TRUE(logOf(*dlg).ends_with("Downloaded layout from control\r\n"));
    EXPECT_EQ(encoded(layout), encoded(sent));
}

// Both editors work on the window's one layout, whatever the connection state.
TEST_F(MainWindow, EditorsOpenOnTheOneLayout) {
    const struct {
        QPushButton* CMosaicsDlg::*button;
        const char* title;
    } cases[] = {{&CMosaicsDlg::editLayoutButton, "ZYL-1 Programming"},
                 {&CMosaicsDlg::defineEventsButton, "User Event Definitions"}};
    auto dlg = window("/dev/null");
    for (const auto& c : cases) {
        ui.dialogs.clear();
        TLayout* edited = nullptr;
        ui.dialogSteps = {[&](QDialog& d) {
            if (auto* prog = qobject_cast<CZYLProg*>(&d))
                edited = &prog->layout;
            if (auto* events = qobject_cast<CEventDef*>(&d))
                edited = &events->layout;
        }};
        click((*dlg).*c.button);
        EXPECT_EQ(ui.dialogs, QStringList{c.title});
        EXPECT_EQ(edited, &layout) << c.title;
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

// "Try Layout" opens one window, raised again on a second request, which follows the layout as
// the editors leave it.
TEST_F(MainWindow, TryLayoutOpensOneWindowThatFollowsTheEdits) {
    layout.defaultPageId = layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Lobby"), nullptr)->pageId;
    auto dlg = window("/dev/null");
    dlg->tryLayoutAction->trigger();
    const QPointer<CTryLayoutDlg> opened = dlg->tryWindow;
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_EQ(opened->windowTitle(), "Try Layout");
    EXPECT_EQ(opened->pageLabel->text(), "Page: Lobby (10000)");
    dlg->tryLayoutAction->trigger();
    EXPECT_EQ(dlg->tryWindow, opened);

    ui.dialogSteps = {[&](QDialog&) { layout.pages.front()->name = u"Hall"; }};
    click(dlg->editLayoutButton);
    EXPECT_EQ(opened->pageLabel->text(), "Page: Hall (10000)");
}

// The whole path of an edit: a new eight-button page made the default and a new brightness reach
// the panel and come back from it unchanged.
TEST_F(MainWindow, AnEditedLayoutReachesThePanel) {
    startSim();
    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    const std::size_t pagesBefore = layout.pages.size();
    ASSERT_GT(pagesBefore, 0u);

    ui.menuChoices = {"8 Button 2 Column"};
    ui.dialogSteps.push_back([](QDialog& d) {
        auto& prog = static_cast<CZYLProg&>(d);
        click(prog.addButton);
        ASSERT_EQ(prog.SelectedRow(), prog.pageList->count() - 1) << "appended and selected";
        click(prog.setDefaultButton);
        prog.manualBrightness->selectAll();
        QTest::keyClicks(prog.manualBrightness, "37");
        click(prog.okButton);
    });
    ui.dialogSteps.push_back([](QDialog& d) {
        auto& buttons = static_cast<CBtn8Dlg&>(d);
        if (buttons.findChild<QLineEdit*>("buttonLabel1") == nullptr) {
            d.accept();
            for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
                const auto n = static_cast<std::size_t>(i);
                const std::u16string digit(1, static_cast<char16_t>(u'1' + i));
                ASSERT_TRUE(StoreAnsiSlot(u"Lamp " + digit, buttons.page.buttonLabels[n]));
                ASSERT_TRUE(StoreAnsiSlot(u"LAMP" + digit, buttons.page.buttonEvents[n]));
            }
            return;
        }
        for (int i = 1; i <= CBtn8Ctrl::kButtons; ++i) {
            QTest::keyClicks(buttons.findChild<QLineEdit*>(QString("buttonLabel%1").arg(i)), QString("Lamp %1").arg(i));
            QTest::keyClicks(buttons.findChild<QLineEdit*>(QString("buttonEvent%1").arg(i)), QString("LAMP%1").arg(i));
        }
        for (QPushButton* button : buttons.findChildren<QPushButton*>())
            if (button->text().remove('&') == "OK")
                return click(button);
        d.accept();
    });
    click(dlg->editLayoutButton);
    EXPECT_EQ(ui.dialogs, (QStringList{"ZYL-1 Programming", "8 Button Page"}));
    ASSERT_EQ(layout.pages.size(), pagesBefore + 1);
    const TListItem& added = *layout.pages.back();
    ASSERT_EQ(added.kind, TListItem::kBtn8);
    EXPECT_EQ(LoadAnsiSlot(static_cast<const CBtn8Ctrl&>(added).buttonLabels[7]), u"Lamp 8");
    EXPECT_EQ(layout.defaultPageId, added.pageId);
    EXPECT_EQ(layout.manualBrightness, 37);
    expectRoundTrip(*dlg);
}

TEST_F(MainWindow, CancelEndsAStuckDownloadAndStaysConnected) {
    // Probe, info and the speed-up are answered; the layout request never is.
    startSim({"--silent-after", "3"});
    auto dlg = window(sim->DevicePath());
    // The download pumps events while it waits; Cancel is pressed once its window is there.
    QString shownText;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (dlg->progressWindow == nullptr || !dlg->progressWindow->cancelButton->isEnabled())
            return;
        shownText = dlg->progressWindow->text->text();
        QTest::mouseClick(dlg->progressWindow->cancelButton, Qt::LeftButton);
    });
    watcher.start(10);
    click(dlg->connectButton);
    watcher.stop();
    EXPECT_EQ(shownText, "Reading Data From The Control");
    EXPECT_TRUE(logOf(*dlg).ends_with("Layout download cancelled; the layout being edited is unchanged\r\n"))
        << logOf(*dlg);
    EXPECT_EQ(buttonsOf(*dlg).caption, "Disconnect");
    EXPECT_EQ(dlg->progressWindow, nullptr);
    EXPECT_TRUE(layout.pages.empty());
}

// A port whose other end the test holds: it sees every byte the window sends.
class QuietPanel : public MainWindow {
protected:
    void connectSilently(CMosaicsDlg& dlg) {
        click(dlg.connectButton);
        ASSERT_EQ(buttonsOf(dlg).caption, "Disconnect");
        ASSERT_EQ(pty.Receive(15, kGenerousMs), "$QPW\r\n%reqinfo\n"); // the probe and the handshake
    }
    PtyPair pty;
};

TEST_F(QuietPanel, RebootSendsOneCommandAndChangesNothing) {
    auto dlg = window(pty.SlavePath());
    connectSilently(*dlg);
    const std::string logBefore = logOf(*dlg);
    click(dlg->rebootButton);
    EXPECT_EQ(pty.Receive(8, kGenerousMs), "%reboot\n");
    EXPECT_EQ(pty.Receive(100, 300), "") << "one command only";
    EXPECT_EQ(buttonsOf(*dlg).caption, "Disconnect");
    EXPECT_TRUE(dlg->rebootButton->isEnabled());
    EXPECT_EQ(logOf(*dlg), logBefore);
}

TEST_F(QuietPanel, CancelledChooserAndEmptyFirmwareSendNothing) {
    TempDir files;
    std::ofstream(files.Path("empty.zfw")).close();
    ui.openFiles = {QString(), QString::fromStdString(files.Path("empty.zfw"))};
    auto dlg = window(pty.SlavePath());
    connectSilently(*dlg);
    click(dlg->upgradeButton);
    EXPECT_TRUE(ui.messages.isEmpty());
    click(dlg->upgradeButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("is empty")) << ui.messages[0].toStdString();
    EXPECT_EQ(pty.Receive(100, 300), "");
    EXPECT_TRUE(dlg->GetSession().Connected());
}

TEST_F(QuietPanel, ClosingWhileConnectedSendsNothing) {
    auto dlg = window(pty.SlavePath());
    connectSilently(*dlg);
    dlg.reset();
    EXPECT_EQ(pty.Receive(100, 300), "");
}

TEST_F(QuietPanel, ALayoutTooLargeIsRefusedWithoutSending) {
    auto dlg = window(pty.SlavePath());
    connectSilently(*dlg);
    // Noise does not compress: three of these exceed what the panel takes.
    auto* page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
    std::uint32_t seed = 1;
    for (int n = 0; n < 3; ++n) {
        auto picture = std::make_unique<Picture>(320, 240);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                seed = seed * 1664525u + 1013904223u;
                picture->SetPixel(x, y,
                                  {std::uint8_t(seed >> 24), std::uint8_t(seed >> 16), std::uint8_t(seed >> 8), 255});
            }
        auto entry = std::make_unique<TImageEntry>();
        entry->id = layout.NextImageId();
        entry->SetImage(std::move(picture));
        auto image = std::make_unique<TUserImage>();
        image->face.kind = TUserFace::kImage;
        image->face.value = entry->id;
        layout.images.insert(layout.images.begin(), std::move(entry));
        page->AddObject(std::move(image));
    }
    dlg->GetSession().OnUploadLayout(); // the button is off for a silent panel; the command still refuses
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("512000")) << ui.messages[0].toStdString();
    EXPECT_EQ(pty.Receive(100, 300), "");
}

TEST_F(MainWindow, PortsAreListedByTheirNames) {
    CMosaicsDlg dlg(layout, ui, nullptr, [] {
        return std::vector<PortEntry>{{"/dev/ttyUSB2", "ttyUSB2 adapter"}, {"/dev/ttyUSB10", "ttyUSB10 adapter"}};
    });
    ASSERT_EQ(dlg.portList->count(), 2);
    EXPECT_EQ(dlg.portList->itemText(0), "ttyUSB10 adapter");
    EXPECT_EQ(dlg.portList->currentIndex(), -1);
    dlg.portList->setCurrentIndex(1);
    EXPECT_EQ(dlg.ChosenDevice(), "/dev/ttyUSB2");

    CMosaicsDlg none(layout, ui, nullptr, [] { return std::vector<PortEntry>{}; });
    EXPECT_EQ(none.portList->count(), 0);
    EXPECT_TRUE(none.connectButton->isEnabled());
}

TEST_F(MainWindow, NoPortOrABadPortIsReportedAndStaysDisconnected) {
    CMosaicsDlg dlg(
        layout, ui, nullptr, [] { return std::vector<PortEntry>{}; }, simulatorTiming());
    click(dlg.connectButton);
    EXPECT_TRUE(logOf(dlg).starts_with("No port chosen")) << logOf(dlg);
    dlg.portList->setEditText("/dev/zyl-no-such-port");
    click(dlg.connectButton);
    EXPECT_NE(logOf(dlg).find("/dev/zyl-no-such-port"), std::string::npos) << logOf(dlg);
    EXPECT_EQ(buttonsOf(dlg).caption, "Connect");
    EXPECT_FALSE(dlg.GetSession().Connected());
}

} // namespace
