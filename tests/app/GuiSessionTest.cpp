// One whole session at the main window, as a person works it: connect, edit, upload, save and
// load a template, exit. `make memcheck` runs this program under valgrind, so it is kept to
// the one session and touches every part of the window that owns memory.
#include "MainWindowFixture.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CBtn8Dlg.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CZYLProg.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/TUserButton.h"
#include "layout/TUserPage.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

namespace {

// The connect's two fixed windows are widened under valgrind (tests/valgrind/memcheck says so),
// where the window itself is many times slower to read the simulator's answer. Every other wait
// ends on the bytes.
LinkTiming sessionTiming() {
    LinkTiming t = simulatorTiming();
    if (qEnvironmentVariableIsSet("ZYL_UNDER_VALGRIND")) {
        t.probeReadDeadline = 2000;
        t.infoReadDeadline = 2000;
    }
    return t;
}

class GuiSession : public MainWindow {
protected:
    std::unique_ptr<CMosaicsDlg> sessionWindow() {
        const std::string device = sim->DevicePath();
        auto dlg = std::make_unique<CMosaicsDlg>(
            layout, ui, nullptr,
            [device] {
                return std::vector<PortEntry>{{device, "ZYL-1 simulator"}};
            },
            sessionTiming());
        dlg->show();
        dlg->portList->setCurrentIndex(0);
        return dlg;
    }
};

TEST_F(GuiSession, EditUploadSaveLoadAndExit) {
    startSim();
    auto dlg = sessionWindow();
    click(dlg->connectButton);
    ASSERT_TRUE(logOf(*dlg).ends_with("Downloaded layout from control\r\n")) << logOf(*dlg);
    const std::size_t pagesBefore = layout.pages.size();

    // A user page with a button made on the canvas, then an eight-button page.
    ui.menuChoices = {"User Defined", "Add>Button", "8 Button 2 Column"};
    ui.dialogSteps = {
        [](QDialog& d) {
            auto& prog = static_cast<CZYLProg&>(d);
            click(prog.addButton);
            click(prog.addButton);
            click(prog.okButton);
        },
        [](QDialog& d) {
            auto& page = static_cast<CZylUserDlg&>(d);
            page.pageName->selectAll();
            QTest::keyClicks(page.pageName, "Porch");
            QTest::mouseClick(page.canvas, Qt::RightButton, {}, {100, 120});
            click(page.okButton);
        },
        [](QDialog& d) {
            auto& button = static_cast<CButtonAddDlg&>(d);
            QTest::keyClicks(button.downEventEdit, "PORCH ON");
            QTest::keyClicks(button.upEventEdit, "PORCH OFF");
            click(button.okButton);
        },
        [](QDialog& d) {
            auto& buttons = static_cast<CBtn8Dlg&>(d);
            for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
                const auto n = static_cast<std::size_t>(i);
                QTest::keyClicks(buttons.buttonLabelEdits[n], QString("Lamp %1").arg(i + 1));
                QTest::keyClicks(buttons.buttonEventEdits[n], QString("LAMP%1").arg(i + 1));
            }
            click(buttons.okButton);
        },
    };
    click(dlg->editLayoutButton);
    EXPECT_TRUE(ui.dialogSteps.empty()) << ui.dialogs.join(", ").toStdString();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("\n").toStdString();
    ASSERT_EQ(layout.pages.size(), pagesBefore + 2);
    const auto* page = dynamic_cast<const TUserPage*>(layout.pages[pagesBefore].get());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->name, u"Porch");
    ASSERT_EQ(page->objects.size(), 1u);
    ASSERT_EQ(page->objects[0]->kind, TUserObject::kButton);
    EXPECT_EQ(LoadAnsiSlot(static_cast<const TUserButton&>(*page->objects[0]).downEvent), u"PORCH ON");
    ASSERT_EQ(layout.pages.back()->kind, TListItem::kBtn8);
    EXPECT_EQ(LoadAnsiSlot(static_cast<const CBtn8Ctrl&>(*layout.pages.back()).buttonEvents[7]), u"LAMP8");

    click(dlg->uploadButton);
    EXPECT_TRUE(dlg->GetSession().LastProblem().empty()) << dlg->GetSession().LastProblem();
    // Compared as decoded, as the file and the panel's copy both come back through a decode.
    TLayout sent;
    ASSERT_TRUE(sent.Decode(encoded(layout)));
    const std::vector<std::uint8_t> uploaded = encoded(sent);

    // Saved, cleared and loaded back, the layout is the one uploaded.
    const QString file = QString::fromStdString(state.Path() + "/porch.zyl");
    ui.saveFiles = {file};
    ui.openFiles = {file};
    ui.answers = {true};
    ui.dialogSteps = {[](QDialog& d) {
        auto& prog = static_cast<CZYLProg&>(d);
        click(prog.saveButton);
        click(prog.clearAllButton);
        ASSERT_EQ(prog.pageList->count(), 0);
        click(prog.loadButton);
        click(prog.okButton);
    }};
    click(dlg->editLayoutButton);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("\n").toStdString();
    EXPECT_EQ(encoded(layout), uploaded);

    // What the panel holds now is what was uploaded.
    click(dlg->connectButton);
    click(dlg->connectButton);
    EXPECT_TRUE(logOf(*dlg).ends_with("Downloaded layout from control\r\n")) << logOf(*dlg);
    EXPECT_EQ(encoded(layout), uploaded);

    QSignalSpy finished(dlg.get(), &QDialog::finished);
    click(dlg->exitButton);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(dlg->isVisible());
}

} // namespace
