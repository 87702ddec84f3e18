#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/QtUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CHotspotDlg.h"
#include "editors/dialogs/CSliderPropDlg.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/ObjectProperties.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"
#include "picture/Picture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>

namespace {

// Three objects side by side, bottom to top: a hot spot, an image and a button.
class CZylWndMenuTest : public ::testing::Test {
protected:
    CZylWndMenuTest() {
        hotspot = place(std::make_unique<TUserHotspot>(), {10, 10, 40, 40});
        image = place(std::make_unique<TUserImage>(), {60, 10, 40, 40});
        button = place(std::make_unique<TUserButton>(), {110, 10, 40, 40});
        canvas.show();
    }

    TUserObject* place(std::unique_ptr<TUserObject> object, const Geometry& g) {
        setGeometry(*object, g);
        return page.AddObject(std::move(object));
    }

    // A right click at the point, answering the menu with `choice` (a path such as "Add>Button")
    // and the dialog it opens with `step`.
    void command(QPoint at, const QString& choice, std::function<void(QDialog&)> step = {}) {
        ui.menuChoices.push_back(choice);
        if (step)
            ui.dialogSteps.push_back(std::move(step));
        QTest::mouseClick(&canvas, Qt::RightButton, {}, at);
    }

    std::string order() const {
        std::string kinds;
        for (const auto& object : page.objects)
            kinds += object.get() == hotspot ? 'H' : object.get() == image ? 'I' : object.get() == button ? 'B' : '?';
        return kinds;
    }

    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage page{&layout, u"Page"};
    TUserObject* hotspot = nullptr;
    TUserObject* image = nullptr;
    TUserObject* button = nullptr;
    ScriptedUiHost ui;
    CZylWnd canvas{page, ui};
};

template <class Dialog> std::function<void(QDialog&)> accepting(std::function<void(Dialog&)> edit = {}) {
    return [edit](QDialog& d) {
        auto& dialog = static_cast<Dialog&>(d);
        if (edit)
            edit(dialog);
        dialog.OnOK();
    };
}

TEST_F(CZylWndMenuTest, MenuDependsOnThePageAndWhatIsUnderThePointer) {
    const QString full = "Background|Add>Image|Add>Button|Add>Selection|Add>Hot Spot|Add>Level Slider|";
    const struct {
        bool sleepPage;
        QPoint at;
        QString items;
    } cases[] = {
        {false, {20, 20}, full + "Properties|Delete|Push|Pull"},
        {false, {200, 200}, full + "Push|Pull"},
        {true, {20, 20}, "Background|Add Image|Properties|Delete|Push|Pull"},
        {true, {200, 200}, "Background|Add Image|Push|Pull"},
    };
    for (const auto& c : cases) {
        canvas.isSleepPage = c.sleepPage;
        QTest::mouseClick(&canvas, Qt::RightButton, {}, c.at);
        // The menu's own entries come first; further groups follow behind a separator.
        EXPECT_EQ(ui.menus.back().section("|-|", 0, 0), c.items) << c.sleepPage << " at " << c.at.x();
        EXPECT_EQ(ui.menuPoints.back(), canvas.mapToGlobal(c.at));
    }
    EXPECT_EQ(canvas.selected, nullptr) << "a right click does not select";
}

TEST_F(CZylWndMenuTest, RealMenuOpensBesideThePointerCentredOnIt) {
    QtUiHost host;
    const QPoint at(200, 300);
    QRect shown;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = menu->geometry();
            menu->close();
        }
    });
    EXPECT_FALSE(host.TrackPopupMenu(&canvas, CZylWnd::ContextMenu(false, true), at));
    EXPECT_EQ(shown.left(), at.x());
    EXPECT_LE(std::abs(shown.center().y() - at.y()), 1);
}

TEST_F(CZylWndMenuTest, AddCommandsPlaceTheNewObjectAtTheClickAndSelectIt) {
    const std::int32_t picture = layout.AddUserImage(u"p", std::make_unique<Picture>(60, 40)).id;
    const struct {
        QString choice;
        std::function<void(QDialog&)> step;
        std::int32_t kind;
        std::int32_t width, height;
    } cases[] = {
        {"Add>Image", accepting<CZylFaceDlg>(), TUserObject::kImage, 85, 50},
        {"Add>Button", accepting<CButtonAddDlg>(), TUserObject::kButton, 85, 50},
        {"Add>Button", accepting<CButtonAddDlg>([&](CButtonAddDlg& d) {
             d.upFace.kind = TUserFace::kImage;
             d.upFace.value = picture;
         }),
         TUserObject::kButton, 60, 40},
        {"Add>Selection", accepting<CButtonAddDlg>(), TUserObject::kButton, 85, 50},
        {"Add>Hot Spot", accepting<CHotspotDlg>(), TUserObject::kHotspot, 85, 50},
        {"Add>Level Slider", [](QDialog& d) { d.accept(); }, TUserObject::kLevel, 45, 130},
    };
    int x = 170;
    for (const auto& c : cases) {
        const QPoint at(x++, 100);
        command(at, c.choice, c.step);
        ASSERT_EQ(canvas.selected, page.objects.back().get()) << c.choice.toStdString();
        EXPECT_EQ(canvas.selected->kind, c.kind);
        EXPECT_EQ(geometryOf(*canvas.selected), (Geometry{at.x(), at.y(), c.width, c.height}));
    }
    auto* selector = static_cast<TUserButton*>(page.objects[6].get());
    EXPECT_EQ(selector->selectorId, 1);
    EXPECT_TRUE(selector->toggle);
    EXPECT_EQ(static_cast<TUserButton*>(page.objects[4].get())->selectorId, -1);

    const std::size_t count = page.objects.size();
    command({250, 200}, "Add>Button"); // the dialog is cancelled
    command({250, 200}, QString());    // the menu is dismissed
    EXPECT_EQ(page.objects.size(), count);
}

TEST_F(CZylWndMenuTest, PushAndPullRestack) {
    const struct {
        QPoint at;
        QString choice;
        std::string order;
    } cases[] = {
        {{20, 20}, "Push", "HIB"},  {{120, 20}, "Pull", "HIB"},  {{120, 20}, "Push", "BHI"},
        {{120, 20}, "Pull", "HIB"}, {{300, 200}, "Push", "HIB"}, {{300, 200}, "Pull", "HIB"},
    };
    for (const auto& c : cases) {
        command(c.at, c.choice);
        EXPECT_EQ(order(), c.order) << c.choice.toStdString() << " at " << c.at.x();
    }
}

TEST_F(CZylWndMenuTest, DeleteAsksAndClearsWhicheverObjectWasSelected) {
    canvas.OnLButtonDown(20, 20);
    canvas.OnLButtonUp();
    ui.answers = {false, true};
    command({70, 20}, "Delete");
    EXPECT_EQ(order(), "HIB");
    EXPECT_EQ(canvas.selected, hotspot);
    command({70, 20}, "Delete");
    EXPECT_EQ(order(), "HB");
    EXPECT_EQ(canvas.selected, nullptr);
    EXPECT_EQ(ui.questions.front(), "Confirm Delete: Are you sure you want to permanently delete this object ?");
}

TEST_F(CZylWndMenuTest, PropertiesTakeTheDialogsValuesBack) {
    page.pageId = 10004;
    auto& b = static_cast<TUserButton&>(*button);
    b.selectorId = 3;
    canvas.OnLButtonDown(20, 20); // the hot spot is selected
    canvas.OnLButtonUp();

    command({120, 20}, "Properties", accepting<CButtonAddDlg>([](CButtonAddDlg& d) {
                EXPECT_TRUE(d.isSelector);
                EXPECT_EQ(d.selectorId, 3);
                d.selectorList->setCurrentIndex(d.selectorList->findData(5));
                d.holdEdit->setText("2.9");
                d.toggleBox->setChecked(false);
                d.downEventEdit->setText(QString(100, 'd'));
            }));
    EXPECT_EQ(b.selectorId, 5);
    EXPECT_EQ(b.holdTime, 2);
    EXPECT_TRUE(b.toggle) << "a selector always toggles";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.downEvent.data())), std::string(79, 'd'));
    EXPECT_EQ(geometryOf(b), (Geometry{110, 10, 40, 40}));
    EXPECT_EQ(canvas.selected, hotspot) << "a button leaves the selection as it was";

    command({20, 20}, "Properties", accepting<CHotspotDlg>([](CHotspotDlg& d) {
                EXPECT_EQ(d.ownPageId, 10004);
                d.requirePinBox->setChecked(true);
                d.pinEdit->setText("1234");
            }));
    EXPECT_EQ(static_cast<TUserHotspot*>(hotspot)->pin, u"1234");

    auto& slider = *static_cast<TUserLevel*>(place(std::make_unique<TUserLevel>(), {200, 10, 45, 130}));
    command({210, 20}, "Properties", [](QDialog& d) {
        auto& dialog = static_cast<CSliderPropDlg&>(d);
        dialog.controlId = 7;
        dialog.width = 1;
        dialog.accept();
    });
    EXPECT_EQ(slider.controlId, 7);
    EXPECT_EQ(geometryOf(slider), (Geometry{200, 10, 45, 130})) << "a slider keeps its size";
    EXPECT_EQ(canvas.selected, &slider);

    command({70, 20}, "Properties"); // cancelled
    EXPECT_EQ(canvas.selected, &slider);
    EXPECT_EQ(ui.dialogs, QStringList({"Button Object", "Hotspot Properties", "Slider Properties", "Face Definition"}));
}

TEST_F(CZylWndMenuTest, BackgroundTakesTheFaceOnOk) {
    command({300, 200}, "Background", accepting<CZylFaceDlg>([](CZylFaceDlg& d) { d.colorRadio->click(); }));
    EXPECT_EQ(page.face.kind, TUserFace::kColor);
}

TEST(WholeHoldTime, TruncatesTowardZeroAndSaturates) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {{2.9, 2}, {-2.9, -2}, {0, 0}, {1e12, 2147483647}, {-1e12, -2147483647 - 1}, {nan, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(WholeHoldTime(c.in), c.out) << c.in;
}

} // namespace
