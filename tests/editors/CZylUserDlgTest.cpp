#include "editors/dialogs/CZylUserDlg.h"
#include "QtTestApp.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "TempDir.h"
#include "TypeText.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CPageId.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserImage.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

namespace {

using Bytes = std::vector<std::uint8_t>;
const QString kFileRequest = " | ZYL-1 User Page (*.zup);;All Files (*)";

// The layout's page "Lobby" (10000) with a button at (20, 20), beside a page "Other" (10001).
class CZylUserDlgTest : public ::testing::Test {
protected:
    CZylUserDlgTest() {
        page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Lobby"), nullptr));
        button = page->AddObject(std::make_unique<TUserButton>());
        button->left = button->top = 20;
        button->width = button->height = 50;
        layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Other"), nullptr);
    }

    std::unique_ptr<CZylUserDlg> open(TUserPage& which, bool sleepPage = false) {
        auto dlg = std::make_unique<CZylUserDlg>(layout, which, ui, sleepPage);
        dlg->show();
        return dlg;
    }

    static void typeName(CZylUserDlg& dlg, const QString& text) {
        dlg.pageName->selectAll();
        TypeText(dlg.pageName, text);
    }

    static void selectAt(CZylUserDlg& dlg, int x, int y) {
        dlg.canvas->OnLButtonDown(x, y);
        dlg.canvas->OnLButtonUp();
    }

    // A page file made in another layout: the page with one image object showing a user image.
    std::string pageFile(const std::string& file, const std::u16string& name, std::int32_t id) {
        TLayout other;
        TUserPage source(&other, name);
        source.pageId = id;
        auto image = std::make_unique<TUserImage>();
        image->face.kind = TUserFace::kImage;
        image->face.value = AddTestImage(other, 7);
        fileImage = other.FindImage(image->face.value)->guid;
        source.AddObject(std::move(image));
        EXPECT_TRUE(other.SavePage(source, files.Path(file)));
        return files.Path(file);
    }

    static Bytes read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage* page = nullptr;
    TUserObject* button = nullptr;
    ScriptedUiHost ui;
    TempDir files;
    Guid fileImage{};
};

TEST_F(CZylUserDlgTest, LoadShowsTheFilesPageWithNothingSelected) {
    const std::string path = pageFile("hall.zup", u"Hall \u00E9", 10400);
    const std::size_t images = layout.images.size();
    auto dlg = open(*page);
    selectAt(*dlg, 30, 30);
    ASSERT_EQ(dlg->canvas->selected, button);
    typeName(*dlg, "Typed");
    ui.openFiles = {QString::fromStdString(path)};
    QTest::mouseClick(dlg->loadButton, Qt::LeftButton);

    EXPECT_EQ(ui.fileRequests, QStringList{"Load Page" + kFileRequest});
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(dlg->pageName->text(), "Hall \u00E9");
    EXPECT_EQ(dlg->pageId->text(), "10400");
    EXPECT_EQ(dlg->canvas->selected, nullptr);
    EXPECT_EQ(page->name, u"Hall \u00E9");
    ASSERT_EQ(page->objects.size(), 1u);
    ASSERT_EQ(layout.images.size(), images + 1);
    const TImageEntry* shown = layout.FindImage(static_cast<TUserImage&>(*page->objects[0]).face.value);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->guid, fileImage);
}

// Anything but a page file is passed over in silence; a damaged page file says why. Neither
// changes the layout, the fields or the selection. A page file of exactly the limit is taken.
TEST_F(CZylUserDlgTest, OnlyWholePageFilesAreTaken) {
    const Bytes good = read(pageFile("good.zup", u"From file", 10400));
    const auto padded = [&](const std::string& file, std::size_t size) {
        Bytes bytes = good;
        bytes.resize(size, 0); // zeros end the image records
        return files.Write(file, bytes);
    };
    TLayout templateLayout;
    ASSERT_TRUE(templateLayout.SaveTemplate(files.Path("t.zyl")));
    const struct {
        const char* what;
        std::string path;
        bool loads;
        const char* message;
    } cases[] = {
        {"no file", files.Path("missing.zup"), false, ""},
        {"a folder", files.Path(), false, ""},
        {"an empty file", files.Write("empty.zup", {}), false, ""},
        {"the magic alone", files.Write("magic.zup", Bytes(good.begin(), good.begin() + 4)), false, ""},
        {"a template", files.Path("t.zyl"), false, ""},
        {"300001 bytes", padded("over.zup", 300001), false, ""},
        {"damaged", files.Write("cut.zup", Bytes(good.begin(), good.begin() + 20)), false, "Load Page: \""},
        {"300000 bytes", padded("limit.zup", 300000), true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui = ScriptedUiHost();
        page->name = u"Lobby";
        const Bytes before = Snapshot(layout);
        auto dlg = open(*page);
        selectAt(*dlg, 30, 30);
        typeName(*dlg, "Typed");
        ui.openFiles = {QString::fromStdString(c.path)};
        QTest::mouseClick(dlg->loadButton, Qt::LeftButton);
        EXPECT_EQ(page->name, c.loads ? u"From file" : u"Lobby");
        if (c.loads)
            continue;
        EXPECT_EQ(Snapshot(layout), before);
        EXPECT_EQ(dlg->canvas->selected, button);
        EXPECT_EQ(dlg->pageName->text(), "Typed");
        EXPECT_EQ(dlg->pageId->text(), "10000");
        if (*c.message == '\0') {
            EXPECT_TRUE(ui.messages.isEmpty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_TRUE(ui.messages[0].startsWith(c.message) && ui.messages[0].contains("cut.zup"))
                << ui.messages[0].toStdString();
        }
    }
}

// Every way out but OK leaves the name; what was done on the canvas meanwhile stays.
TEST_F(CZylUserDlgTest, OnlyOkStoresTheNameButCanvasWorkStays) {
    const struct {
        const char* how;
        std::function<void(CZylUserDlg&)> close;
        const char16_t* name;
    } cases[] = {
        {"OK", [](CZylUserDlg& d) { QTest::mouseClick(d.okButton, Qt::LeftButton); }, u"Hall"},
        {"Cancel", [](CZylUserDlg& d) { QTest::mouseClick(d.cancelButton, Qt::LeftButton); }, u"Lobby"},
        {"Escape", [](CZylUserDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, u"Lobby"},
        {"close box", [](CZylUserDlg& d) { d.close(); }, u"Lobby"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        page->name = u"Lobby";
        button->left = 20;
        auto dlg = open(*page);
        typeName(*dlg, "Hall");
        dlg->canvas->OnLButtonDown(30, 30);
        dlg->canvas->OnMouseMove(45, 30);
        dlg->canvas->OnLButtonUp();
        page->AddObject(std::make_unique<TUserImage>())->left = 200; // as the canvas's menu adds one
        c.close(*dlg);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(page->name, c.name);
        EXPECT_EQ(button->left, 35);
    }
    EXPECT_EQ(page->objects.size(), 5u);
}

// "Set" starts from the shown ID and changes the page at once; a refused or cancelled one changes nothing.
TEST_F(CZylUserDlgTest, SetChangesTheIdAtOnce) {
    const struct {
        const char* what;
        const char* typed;
        bool ok;
        std::int32_t id;
        QStringList messages;
    } cases[] = {
        {"set", "10777", true, 10777, {}},
        {"cancelled", "10777", false, 10000, {}},
        {"taken", "10001", true, 10000, {"Duplicate ID: That ID is in use.  Choose another."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        page->pageId = 10000;
        ui = ScriptedUiHost();
        auto dlg = open(*page);
        typeName(*dlg, "Typed");
        ui.dialogSteps = {[&c](QDialog& d) {
            auto& set = static_cast<CPageId&>(d);
            EXPECT_EQ(set.pageIdEdit->text(), "10000");
            set.pageIdEdit->setText(c.typed);
            QTest::mouseClick(c.ok ? set.okButton : set.cancelButton, Qt::LeftButton);
        }};
        QTest::mouseClick(dlg->setButton, Qt::LeftButton);
        EXPECT_EQ(ui.dialogs, QStringList{"Set Page ID"});
        EXPECT_EQ(ui.messages, c.messages);
        EXPECT_EQ(page->pageId, c.id);
        EXPECT_EQ(dlg->pageId->text(), QString::number(c.id));
        EXPECT_EQ(dlg->pageName->text(), "Typed");
        QTest::mouseClick(dlg->cancelButton, Qt::LeftButton);
        EXPECT_EQ(page->pageId, c.id) << "kept after Cancel";
    }
}

// The file holds the page as the layout has it: the ID from "Set", the name from before the typing.
TEST_F(CZylUserDlgTest, SaveWritesTheStoredNameNotTheTypedOne) {
    auto dlg = open(*page);
    ui.dialogSteps = {[](QDialog& d) {
        auto& set = static_cast<CPageId&>(d);
        set.pageIdEdit->setText("10777");
        QTest::mouseClick(set.okButton, Qt::LeftButton);
    }};
    QTest::mouseClick(dlg->setButton, Qt::LeftButton);
    typeName(*dlg, "Typed");
    ui.saveFiles = {QString::fromStdString(files.Path("saved.zup"))};
    QTest::mouseClick(dlg->saveButton, Qt::LeftButton);
    EXPECT_EQ(ui.fileRequests, QStringList{"Save Page" + kFileRequest});
    EXPECT_TRUE(ui.messages.isEmpty());

    TUserPage back(&layout, u"");
    ASSERT_TRUE(layout.LoadPage(back, files.Path("saved.zup")));
    EXPECT_EQ(back.name, u"Lobby");
    EXPECT_EQ(back.pageId, 10777);
    EXPECT_EQ(back.objects.size(), 1u);
}

TEST_F(CZylUserDlgTest, FailedSaveSaysWhyAndWritesNothing) {
    auto dlg = open(*page);
    ui.saveFiles = {QString::fromStdString(files.Path("no/such/folder/p.zup"))};
    QTest::mouseClick(dlg->saveButton, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Save Page: ") && ui.messages[0].contains("p.zup"))
        << ui.messages[0].toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(files.Dir()));
}

// A loaded ID that another page has gives way to the next free one, and the user is told both; the
// sleep page is not in the list, so every listed page counts against it.
TEST_F(CZylUserDlgTest, LoadedDuplicateIdIsRenumberedAndReported) {
    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    layout.sleepPage->pageId = 10002;
    const struct {
        const char* what;
        bool sleep;
        std::int32_t fileId;
        std::int32_t id; // the page's ID afterwards; reported when it is not the file's
    } cases[] = {
        {"another page's", false, 10001, 10002},         {"its own", false, 10000, 10000},
        {"the sleep page's", false, 10002, 10002},       {"a listed page's, on the sleep page", true, 10000, 10002},
        {"free, on the sleep page", true, 10500, 10500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui = ScriptedUiHost();
        page->pageId = 10000;
        TUserPage& target = c.sleep ? *layout.sleepPage : *page;
        auto dlg = open(target, c.sleep);
        EXPECT_EQ(dlg->canvas->isSleepPage, c.sleep);
        ui.openFiles = {QString::fromStdString(pageFile("dup.zup", u"Loaded", c.fileId))};
        QTest::mouseClick(dlg->loadButton, Qt::LeftButton);
        EXPECT_EQ(target.pageId, c.id);
        EXPECT_EQ(dlg->pageId->text(), QString::number(c.id));
        EXPECT_EQ(target.name, u"Loaded");
        if (c.id == c.fileId) {
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        EXPECT_EQ(ui.messages, QStringList{QString("Load Page: Page ID %1 is already used by another page of this "
                                                   "layout, so the loaded page gets page ID %2 instead. Give it "
                                                   "another ID with \"Set\" if you like.")
                                               .arg(c.fileId)
                                               .arg(c.id)});
    }
}

TEST_F(CZylUserDlgTest, TabFollowsTheReadingOrder) {
    auto dlg = open(*page);
    EXPECT_EQ(dlg->windowTitle(), "ZYL-1 User Defined Page");
    // The canvas takes a second Tab for the page's one object; after Cancel Tab comes round again.
    QWidget* const order[] = {dlg->pageName,   dlg->pageId,     dlg->setButton, dlg->canvas,       dlg->canvas,
                              dlg->loadButton, dlg->saveButton, dlg->okButton,  dlg->cancelButton, dlg->pageName};
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    dlg->pageName->setFocus(Qt::TabFocusReason);
    for (QWidget* widget : order) {
        EXPECT_EQ(QApplication::focusWidget(), widget) << widget->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

} // namespace
