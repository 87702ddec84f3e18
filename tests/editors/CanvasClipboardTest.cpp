#include "editors/canvas/CanvasClipboard.h"
#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CPositionSizeDlg.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserImage.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>

namespace {

// A layout with a page holding an image object that shows a user image, on a canvas.
struct Scene {
    explicit Scene(bool sleepPage = false) { canvas.isSleepPage = sleepPage; }
    TUserObject* addImage(std::uint8_t seed, const Geometry& where) {
        auto image = std::make_unique<TUserImage>();
        image->face.kind = TUserFace::kImage;
        image->face.value = AddTestImage(layout, seed);
        setGeometry(*image, where);
        return page->AddObject(std::move(image));
    }
    const Guid& guidShownBy(const TUserObject& object) const {
        return layout.FindImage(static_cast<const TUserImage&>(object).face.value)->guid;
    }

    TLayout layout;
    TUserPage* page =
        static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"P"), nullptr));
    ScriptedUiHost ui;
    CZylWnd canvas{*page, ui};
};

void putOnClipboard(const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(CanvasClipboard::kMimeType, bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

// Copy in one layout, paste by the keys or by the menu into the same page, or into another layout
// that gets only the clipboard's bytes (as another running program would): the
// object arrives where asked, selected, and its image joins the layout once, found by GUID.
TEST(CanvasClipboard, PastesWithinAPageAndIntoAnotherLayoutMergingImagesOnce) {
    QtTestApp();
    Scene from;
    TUserObject* original = from.addImage(5, {40, 30, 85, 50});
    from.canvas.selected = original;
    from.canvas.OnKey(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(CanvasClipboard::HasObject(copied));
    // Beside it, the text form export gives a page file, for any program that takes text.
    const auto text = nlohmann::json::parse(copied->text().toStdString());
    EXPECT_EQ(text["page"]["objects"][0]["left"], 40);
    EXPECT_EQ(text["page"]["objects"][0]["width"], 85);
    EXPECT_EQ(text["images"].size(), 1U);
    const QByteArray bytes = copied->data(CanvasClipboard::kMimeType);

    Scene other;
    other.addImage(9, {0, 0, 10, 10}); // so the pasted image needs a new ID
    struct {
        const char* name;
        Scene& into;
        bool menu;
        Geometry expected;
        std::size_t imagesAdded;
    } rows[] = {
        {"same page by the keys", from, false, {50, 40, 85, 50}, 0},
        {"same page by the menu, at the pointer", from, true, {200, 150, 85, 50}, 0},
        {"another layout", other, false, {50, 40, 85, 50}, 1},
        {"another layout again", other, true, {200, 150, 85, 50}, 0},
    };
    const std::size_t imagesBefore = other.layout.images.size();
    for (auto& row : rows) {
        SCOPED_TRACE(row.name);
        putOnClipboard(bytes); // only the bytes travel between programs
        const std::size_t images = row.into.layout.images.size();
        if (row.menu) {
            row.into.ui.menuChoices = {"&Paste\tCtrl+V"};
            row.into.canvas.OnRButtonDown(200, 150);
        } else {
            row.into.canvas.OnKey(Qt::Key_V, Qt::ControlModifier);
        }
        EXPECT_TRUE(row.into.ui.messages.isEmpty()) << row.into.ui.messages.join("\n").toStdString();
        const TUserObject& pasted = *row.into.page->objects.back();
        EXPECT_EQ(row.into.canvas.selected, &pasted);
        EXPECT_EQ(geometryOf(pasted), row.expected);
        EXPECT_EQ(row.into.guidShownBy(pasted), from.guidShownBy(*original));
        EXPECT_EQ(row.into.layout.images.size(), images + row.imagesAdded);
    }
    EXPECT_EQ(other.layout.images.size(), imagesBefore + 1);
}

// Bytes under our type that are not one pasteable object are refused with the reason; nothing
// changes, not the page, the images or the selection.
TEST(CanvasClipboard, RefusesBadClipboardDataAndChangesNothing) {
    QtTestApp();
    Scene source;
    source.addImage(1, {10, 10, 20, 20});
    source.addImage(2, {40, 10, 20, 20});
    const auto pageBytes = [&](TUserPage& page) {
        const std::vector<std::uint8_t> record = source.layout.PageFileBytes(page);
        return QByteArray(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
    };
    const QByteArray two = pageBytes(*source.page);
    TUserPage buttonPage(&source.layout, u"b");
    buttonPage.AddObject(std::make_unique<TUserButton>());
    const QByteArray button = pageBytes(buttonPage);
    const struct {
        const char* name;
        QByteArray bytes;
        bool sleepPage;
        const char* message;
    } rows[] = {
        {"not a page", "hello, world", false, "Paste: The object on the clipboard is not a ZYL-1 user page file. "},
        {"cut short", two.left(30), false, "Paste: The object on the clipboard is damaged: "},
        {"two objects", two, false, "Paste: The clipboard holds a page with 2 objects, not one object. "},
        {"a button on the sleep page", button, true, "Paste: The sleep page takes only images, and the object "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Scene into(row.sleepPage);
        TUserObject* kept = into.addImage(7, {5, 5, 10, 10});
        into.canvas.selected = kept;
        const auto before = Snapshot(into.layout);
        putOnClipboard(row.bytes);
        into.canvas.OnKey(Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(into.ui.messages.size(), 1);
        EXPECT_TRUE(into.ui.messages[0].startsWith(row.message)) << into.ui.messages[0].toStdString();
        EXPECT_EQ(Snapshot(into.layout), before);
        EXPECT_EQ(into.page->objects.size(), 1u);
        EXPECT_EQ(into.canvas.selected, kept);
    }
}

// The canvas menu keeps its own entries and adds the clipboard and Position and Size below them.
TEST(CanvasClipboard, MenuAddsItsEntriesBelowTheCanvasMenu) {
    QtTestApp();
    Scene scene;
    scene.addImage(1, {10, 10, 50, 50});
    QGuiApplication::clipboard()->clear();
    scene.canvas.OnRButtonDown(20, 20);
    scene.canvas.OnRButtonDown(200, 200);
    const QString edit =
        "-|Cu&t\tCtrl+X|&Copy\tCtrl+C|&Paste\tCtrl+V (disabled)|&Duplicate\tCtrl+D|-|Position and Si&ze...";
    ASSERT_EQ(scene.ui.menus.size(), 2);
    // Undo and Redo follow, below a separator of their own.
    EXPECT_TRUE(scene.ui.menus[0].contains("Properties|Delete|Push|Pull|" + edit + "|-|&Undo"));
    EXPECT_TRUE(scene.ui.menus[1].contains(
        "Push|Pull|-|Cu&t\tCtrl+X (disabled)|&Copy\tCtrl+C (disabled)|&Paste\tCtrl+V (disabled)|"
        "&Duplicate\tCtrl+D (disabled)|-|Position and Si&ze... (disabled)|-|&Undo"));
}

// "Position and Size..." sets the four numbers exactly; values that would lose the object, or are
// not numbers, are refused with the usual messages and the dialog stays open.
TEST(CanvasClipboard, PositionAndSizeSetsExactValuesAndRefusesBadOnes) {
    QtTestApp();
    const struct {
        const char* name;
        QStringList typed; // left, top, width, height
        QString message;
        Geometry after;
    } rows[] = {
        {"exact values", {"0", "239", "1", "300"}, "", {0, 239, 1, 300}},
        {"left off the screen",
         {"320", "0", "5", "5"},
         "ZYLMosaics: Enter an integer between 0 and 319.",
         {10, 20, 30, 40}},
        {"top negative", {"0", "-1", "5", "5"}, "ZYLMosaics: Enter an integer between 0 and 239.", {10, 20, 30, 40}},
        {"no width", {"0", "0", "0", "5"}, "ZYLMosaics: Enter an integer between 1 and 2147483647.", {10, 20, 30, 40}},
        {"height not a number", {"1", "1", "5", "x"}, "ZYLMosaics: Enter an integer.", {10, 20, 30, 40}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Scene scene;
        TUserObject* object = scene.addImage(1, {10, 20, 30, 40});
        scene.ui.menuChoices = {"Position and Si&ze..."};
        QStringList shown;
        scene.ui.dialogSteps.push_back([&](QDialog& d) {
            auto& dialog = static_cast<CPositionSizeDlg&>(d);
            shown = {dialog.leftEdit->text(), dialog.topEdit->text(), dialog.widthEdit->text(),
                     dialog.heightEdit->text()};
            QLineEdit* fields[] = {dialog.leftEdit, dialog.topEdit, dialog.widthEdit, dialog.heightEdit};
            for (int i = 0; i < 4; ++i)
                fields[i]->setText(row.typed[i]);
            dialog.accept();
        });
        scene.canvas.OnRButtonDown(15, 25);
        EXPECT_EQ(scene.ui.dialogs, QStringList{"Position and Size"});
        EXPECT_EQ(shown, (QStringList{"10", "20", "30", "40"}));
        EXPECT_EQ(scene.ui.messages, row.message.isEmpty() ? QStringList() : QStringList{row.message});
        EXPECT_EQ(geometryOf(*object), row.after);
    }
}

} // namespace
