#include "ProgFixture.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/TUserImage.h"

namespace {

// Pages P10000 (showing a user image), P10001 and P10002, the dialog open on them.
class ProgUndoTest : public ProgFixture {
protected:
    void SetUp() override {
        ProgFixture::SetUp();
        addPages({10000, 10001, 10002});
        layout.controlName = u"Mine";
        auto image = std::make_unique<TUserImage>();
        image->face.kind = TUserFace::kImage;
        image->face.value = AddTestImage(layout, 3);
        static_cast<TUserPage&>(*layout.pages[0]).AddObject(std::move(image));
        dlg = open();
    }

    // The layout as a save writes it, which also purges the images nothing shows.
    Bytes encoded() { return *layout.Encode(TLayout::kUploadCapacity); }

    void key(QKeyCombination combination) {
        QTest::keyClick(dlg->pageList, combination.key(), combination.keyboardModifiers());
    }

    // The page list's context menu, choosing `choice`; its entries.
    QString listMenu(const QString& choice = QString()) {
        ui.menuChoices.push_back(choice);
        dlg->OnPageListMenu({5, 5});
        return ui.menus.back();
    }

    std::unique_ptr<CZYLProg> dlg;
};

// Each page-list change is one step: Ctrl+Z (or the list's menu) gives the layout's original bytes,
// Ctrl+Shift+Z the edited ones, even with a save (which purges the images of a removed page) between.
TEST_F(ProgUndoTest, EveryPageListChangeUndoesAndRedoesExactly) {
    const std::string other = templateFile("other.zyl", u"Loaded");
    const struct {
        QString what;
        int row;
        QPushButton* CZYLProg::*button;
        std::function<void()> script;
    } cases[] = {
        {"Add", 1, &CZYLProg::addButton,
         [&] {
             ui.menuChoices = {"User Defined"};
             ui.dialogSteps = {acceptStep()};
         }},
        {"Remove", 0, &CZYLProg::removeButton, {}},
        {"Edit", 1, &CZYLProg::editButton,
         [&] {
             ui.dialogSteps = {[](QDialog& d) {
                 static_cast<CZylUserDlg&>(d).pageName->setText("Renamed");
                 QTest::mouseClick(static_cast<CZylUserDlg&>(d).okButton, Qt::LeftButton);
             }};
         }},
        {"Edit Sleep Page", 1, &CZYLProg::editSleepPageButton,
         [&] {
             ui.dialogSteps = {[](QDialog& d) {
                 static_cast<CZylUserDlg&>(d).page.face.color1 = 0x123456;
                 QTest::mouseClick(static_cast<CZylUserDlg&>(d).okButton, Qt::LeftButton);
             }};
         }},
        {"Move Up", 1, &CZYLProg::moveUpButton, {}},
        {"Move Down", 0, &CZYLProg::moveDownButton, {}},
        {"Set Default", 2, &CZYLProg::setDefaultButton, {}},
        {"Clear All", 1, &CZYLProg::clearAllButton, [&] { ui.answers = {true}; }},
        {"Load", 1, &CZYLProg::loadButton, [&] { ui.openFiles = {QString::fromStdString(other)}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what.toStdString());
        const Bytes before = encoded();
        select(*dlg, c.row);
        if (c.script)
            c.script();
        click((*dlg).*c.button);
        const Bytes edited = encoded();
        ASSERT_NE(edited, before);
        EXPECT_EQ(dlg->undoStack.count(), 1);
        EXPECT_EQ(listMenu(), "&Undo " + c.what + "\tCtrl+Z|&Redo\tCtrl+Shift+Z (disabled)");

        key(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(encoded(), before);
        EXPECT_EQ(dlg->pageList->count(), static_cast<int>(layout.pages.size()));
        // An undone load shows the settings the layout held again.
        EXPECT_EQ(dlg->controlName->text(), QString::fromStdU16String(layout.controlName));
        key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        EXPECT_EQ(encoded(), edited);
        EXPECT_EQ(dlg->pageList->count(), static_cast<int>(layout.pages.size()));
        listMenu("&Undo " + c.what + "\tCtrl+Z");
        EXPECT_EQ(encoded(), before);
        EXPECT_EQ(listMenu(), "&Undo\tCtrl+Z (disabled)|&Redo " + c.what + "\tCtrl+Shift+Z");
    }
}

} // namespace
