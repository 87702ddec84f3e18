#include "editors/dialogs/CZylFaceDlg.h"
#include "QtTestApp.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/CColourPopup.h"
#include "editors/dialogs/CAddImageDlg.h"
#include "layout/CDataStore.h"
#include "layout/TLayout.h"
#include "render/FaceDrawing.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class T> T* child(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Adds a user image of the given size with that ID at the front of the layout's images.
void addImage(TLayout& layout, std::int32_t id, int width, int height, const char16_t* description) {
    auto entry = std::make_unique<TImageEntry>();
    entry->id = id;
    entry->description = description;
    entry->SetImage(TestPicture(width, height, static_cast<std::uint8_t>(id)));
    layout.images.insert(layout.images.begin(), std::move(entry));
}

// Plays the user in the nested "Add Image" dialog: a description and a picture, then OK.
std::function<void(QDialog&)> addImageStep(QString description, int width, int height) {
    return [=](QDialog& dialog) {
        auto& add = dynamic_cast<CAddImageDlg&>(dialog);
        add.descriptionEdit->setText(description);
        add.image = TestPicture(width, height, 7);
        add.width = width;
        add.height = height;
        add.accept();
    };
}

// The row of the list whose entry stands for `number`.
int rowOf(const QComboBox* list, int number) {
    return list->findData(number);
}

// Chooses the entry as the user would: opens nothing, moves the selection by keyboard.
void choose(QComboBox* list, int row) {
    list->setFocus();
    if (list->currentIndex() < 0)
        QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentIndex() < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    for (int i = 0; i < list->count() && list->currentIndex() > row; ++i)
        QTest::keyClick(list, Qt::Key_Up);
    ASSERT_EQ(list->currentIndex(), row);
}

std::vector<std::uint8_t> bytesOf(TUserFace& face) {
    CDataStore store;
    face.Serialize(store);
    const std::span<const std::uint8_t> bytes = store.Result();
    return {bytes.begin(), bytes.end()};
}

class FaceDlgFixture : public ::testing::Test {
protected:
    void SetUp() override { QtTestApp(); }

    // A dialog on a copy of `callerFace`, shown as the caller runs it.
    // `callerFace` may belong to the dialog being replaced, so the new one takes it first.
    CZylFaceDlg& open(const TUserFace& callerFace, TLayout* on = nullptr) {
        auto next = std::make_unique<CZylFaceDlg>(on, ui);
        next->face.CopyFrom(callerFace);
        dialog = std::move(next);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }

    void ok() { QTest::mouseClick(dialog->okButton, Qt::LeftButton); }

    ScriptedUiHost ui;
    TLayout layout;
    std::unique_ptr<CZylFaceDlg> dialog;
};

TEST_F(FaceDlgFixture, SingleColourHidesTheSecondColourUntilAGradientIsChosen) {
    TUserFace face;
    face.kind = TUserFace::kColor;
    face.value = TUserFace::kSingleColor;
    face.color1 = 0x00336699;
    face.color2 = 0x00FFFFFF;
    CZylFaceDlg& dlg = open(face, &layout);
    EXPECT_EQ(dlg.windowTitle(), "Face Definition");
    EXPECT_TRUE(dlg.colorRadio->isChecked());
    EXPECT_TRUE(dlg.color1Button->isVisible());
    EXPECT_FALSE(dlg.color2Button->isVisible());
    EXPECT_EQ(dlg.color1Button->color, 0x336699u);
    EXPECT_EQ(dlg.gradientList->currentText(), "Single Color");

    choose(dlg.gradientList, rowOf(dlg.gradientList, TUserFace::kRadial));
    EXPECT_EQ(dlg.gradientList->currentText(), "Gradient Radial");
    EXPECT_TRUE(dlg.color2Button->isVisible());
    EXPECT_EQ(dlg.color2Button->color, 0xFFFFFFu);
    choose(dlg.gradientList, rowOf(dlg.gradientList, TUserFace::kSingleColor));
    EXPECT_FALSE(dlg.color2Button->isVisible());
    choose(dlg.gradientList, rowOf(dlg.gradientList, TUserFace::kTopToBottom));
    ok();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.face.value, TUserFace::kTopToBottom);
    EXPECT_EQ(dlg.face.color1, 0x00336699);
}

TEST_F(FaceDlgFixture, ButtonFaceOpensWithoutASelectionAndKeepsItsId) {
    for (const std::int32_t id : {5, 16, 9}) {
        TUserFace face;
        face.kind = TUserFace::kButtonFace;
        face.value = id;
        CZylFaceDlg& dlg = open(face, &layout);
        EXPECT_TRUE(dlg.buttonFaceRadio->isChecked());
        EXPECT_TRUE(dlg.buttonFaceList->isEnabled());
        EXPECT_EQ(dlg.buttonFaceList->currentIndex(), -1) << id;
        EXPECT_EQ(dlg.buttonFaceList->count(), 8);
        // Not a colour face: the colour buttons stay "Automatic" whatever the face holds.
        EXPECT_EQ(dlg.color1Button->color, kAutomaticColor);
        ok();
        EXPECT_EQ(dlg.face.kind, TUserFace::kButtonFace);
        EXPECT_EQ(dlg.face.value, id);
    }
    // Choosing one stores its number: the second "Deep Round" is the highlight face.
    TUserFace face;
    face.kind = TUserFace::kButtonFace;
    face.value = 3;
    CZylFaceDlg& dlg = open(face, &layout);
    const int secondDeepRound = dlg.buttonFaceList->findText("Deep Round") + 1;
    choose(dlg.buttonFaceList, secondDeepRound);
    EXPECT_EQ(dlg.buttonFaceList->currentText(), "Deep Round");
    ok();
    EXPECT_EQ(dlg.face.value, 16);
}

TEST_F(FaceDlgFixture, BlankAfterImageKeepsTheLastImageId) {
    addImage(layout, 10000, 20, 10, u"Logo");
    addImage(layout, 10004, 30, 10, u"Banner");
    TUserFace face;
    face.kind = TUserFace::kImage;
    face.value = 10000;
    face.textSize = TUserFace::kLarge;
    CZylFaceDlg& dlg = open(face, &layout);
    EXPECT_EQ(dlg.imageList->currentText(), "2: Logo");
    EXPECT_EQ(dlg.captionSize->currentText(), "Large");
    choose(dlg.imageList, rowOf(dlg.imageList, 10004));
    EXPECT_EQ(dlg.imageList->currentText(), "1: Banner");
    QTest::mouseClick(dlg.blankRadio, Qt::LeftButton);
    ok();
    EXPECT_EQ(dlg.face.kind, TUserFace::kBlank);
    EXPECT_EQ(dlg.face.value, 10004);
    EXPECT_EQ(dlg.face.textSize, TUserFace::kLarge);
    // A blank face is no image object: the size stays.
    EXPECT_EQ(QSize(dlg.width, dlg.height), QSize(30, 30));
}

TEST_F(FaceDlgFixture, AddedImageTakesTheNextIdAndComesFirstNextTime) {
    struct Case {
        std::vector<std::int32_t> userIds;
        std::int32_t expected;
    };
    const Case cases[] = {{{10000, 10004}, 10005}, {{}, 10000}, {{10004, 10000}, 10005}};
    for (const Case& c : cases) {
        TLayout on;
        for (const std::int32_t id : c.userIds)
            addImage(on, id, 8, 8, u"Older");
        const std::size_t before = on.images.size();
        TUserFace face;
        face.kind = TUserFace::kImage;
        face.value = -1;
        CZylFaceDlg& dlg = open(face, &on);
        ASSERT_TRUE(dlg.addImageButton->isVisible());
        ui.dialogSteps.push_back(addImageStep("Porch light", 40, 30));
        QTest::mouseClick(dlg.addImageButton, Qt::LeftButton);
        EXPECT_EQ(ui.dialogs.back(), "Add Image");
        ASSERT_EQ(on.images.size(), before + 1);
        EXPECT_EQ(on.images.front()->id, c.expected);
        EXPECT_EQ(on.images.front()->description, u"Porch light");
        // Shown by its description alone and chosen.
        EXPECT_EQ(dlg.imageList->currentText(), "Porch light");
        EXPECT_EQ(dlg.imageList->currentData().toInt(), c.expected);
        EXPECT_EQ(dlg.imageList->count(), static_cast<int>(before + 1));
        EXPECT_EQ(dlg.imageId, c.expected);
        ok();
        EXPECT_EQ(dlg.face.value, c.expected);
        EXPECT_EQ(QSize(dlg.width, dlg.height), QSize(40, 30));

        CZylFaceDlg& again = open(dlg.face, &on);
        EXPECT_EQ(again.imageList->currentText(), "1: Porch light");
        EXPECT_EQ(again.imageList->currentData().toInt(), c.expected);
    }
}

TEST_F(FaceDlgFixture, CancelAfterAddImageKeepsTheImageButNotTheFace) {
    enum class Close { Cancel, Escape };
    for (const Close how : {Close::Cancel, Close::Escape}) {
        TLayout on;
        TUserFace callerFace;
        callerFace.kind = TUserFace::kColor;
        callerFace.value = TUserFace::kLeftToRight;
        callerFace.text = u"Porch";
        const std::vector<std::uint8_t> callerBytes = bytesOf(callerFace);
        CZylFaceDlg& dlg = open(callerFace, &on);
        QTest::mouseClick(dlg.imageRadio, Qt::LeftButton);
        ui.dialogSteps.push_back(addImageStep("Garden", 12, 12));
        QTest::mouseClick(dlg.addImageButton, Qt::LeftButton);
        QTest::keyClicks(dlg.captionText, " lamp");
        EXPECT_EQ(dlg.face.kind, TUserFace::kImage);
        if (how == Close::Cancel)
            QTest::mouseClick(dlg.cancelButton, Qt::LeftButton);
        else
            QTest::keyClick(dlg.captionText, Qt::Key_Escape);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_FALSE(dlg.isVisible());
        // The caller copies back on OK only; its face is as it was, the new image stays.
        EXPECT_EQ(bytesOf(callerFace), callerBytes);
        ASSERT_NE(on.FindImage(10000), nullptr);
        EXPECT_EQ(on.images.front()->description, u"Garden");
        EXPECT_EQ(QSize(dlg.width, dlg.height), QSize(30, 30));
    }
}

// A cancelled "Add Image" changes nothing at all.
TEST_F(FaceDlgFixture, CancelledAddImageAddsNothing) {
    TUserFace face;
    face.kind = TUserFace::kImage;
    face.value = -1;
    CZylFaceDlg& dlg = open(face, &layout);
    const std::size_t before = layout.images.size();
    const int entries = dlg.imageList->count();
    ui.dialogSteps.push_back([](QDialog& add) { add.reject(); });
    QTest::mouseClick(dlg.addImageButton, Qt::LeftButton);
    EXPECT_EQ(layout.images.size(), before);
    EXPECT_EQ(dlg.imageList->count(), entries);
    EXPECT_EQ(dlg.imageList->currentIndex(), -1);
    EXPECT_EQ(dlg.imageId, -1);
}

TEST_F(FaceDlgFixture, ImageObjectTakesItsPicturesSizeOnOK) {
    addImage(layout, 10000, 120, 48, u"Wide");
    addImage(layout, 10001, 64, 64, u"Square");
    struct Case {
        const char* what;
        bool withLayout;
        std::int32_t kind, value;
        int chooseId; // -1: leave the list alone
        std::int32_t value_after;
        QSize size;
    };
    const Case cases[] = {
        {"chosen image", true, TUserFace::kImage, 10001, 10000, 10000, {120, 48}},
        {"image kept", true, TUserFace::kImage, 10001, -1, 10001, {64, 64}},
        {"missing image", true, TUserFace::kImage, 12345, -1, 12345, {85, 50}},
        {"image chosen on a colour face", true, TUserFace::kColor, 2, -1, -1, {85, 50}},
        {"no layout", false, TUserFace::kImage, 10000, -1, 10000, {85, 50}},
    };
    for (const Case& c : cases) {
        TUserFace face;
        face.kind = c.kind;
        face.value = c.value;
        CZylFaceDlg& dlg = open(face, c.withLayout ? &layout : nullptr);
        dlg.width = 85;
        dlg.height = 50;
        EXPECT_EQ(dlg.addImageButton->isVisible(), c.withLayout) << c.what;
        if (!c.withLayout) {
            EXPECT_EQ(dlg.imageList->count(), 0) << c.what;
        }
        if (c.kind != TUserFace::kImage)
            QTest::mouseClick(dlg.imageRadio, Qt::LeftButton);
        if (c.chooseId >= 0)
            choose(dlg.imageList, rowOf(dlg.imageList, c.chooseId));
        ok();
        EXPECT_EQ(dlg.face.kind, TUserFace::kImage) << c.what;
        EXPECT_EQ(dlg.face.value, c.value_after) << c.what;
        EXPECT_EQ(QSize(dlg.width, dlg.height), c.size) << c.what;
    }
}

// The preview follows the hovered colour; cancelling the choice (Escape, a release outside) puts
// back the colour the popup opened on, in the face as on the button.
TEST_F(FaceDlgFixture, CancelledChoicePutsBackTheColourItOpenedOn) {
    const auto red = std::find_if(colourTable.begin(), colourTable.end(),
                                  [](const NamedColour& c) { return std::string(c.name) == "Red"; });
    ASSERT_NE(red, colourTable.end());
    const int redCell = static_cast<int>(red - colourTable.begin());
    for (const bool second : {false, true})
        for (const bool outside : {false, true}) {
            TUserFace face;
            face.kind = TUserFace::kColor;
            face.value = TUserFace::kRadial;
            face.color1 = 0x01336699; // the fourth byte is not the dialog's
            face.color2 = 0x02102030;
            CZylFaceDlg& dlg = open(face, &layout);
            CColorButton* button = second ? dlg.color2Button : dlg.color1Button;
            const std::uint32_t shown = button->color;
            QTest::mouseClick(button, Qt::LeftButton);
            QPointer<CColourPopup> popup = button->Popup();
            ASSERT_TRUE(popup);
            const QPoint at = CellRect(popup->popupGeometry, redCell).center();
            QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(popup->mapToGlobal(at)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(popup, &move);
            EXPECT_EQ(second ? dlg.face.color2 : dlg.face.color1, second ? 0x020000FF : 0x010000FF);
            if (outside)
                QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(popup->width() + 20, 5));
            else
                QTest::keyClick(popup, Qt::Key_Escape);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(popup.isNull());
            EXPECT_EQ(button->color, shown);
            EXPECT_EQ(dlg.face.color1, 0x01336699) << second << outside;
            EXPECT_EQ(dlg.face.color2, 0x02102030) << second << outside;
            // The preview shows what the face holds: its own colour at the start of the gradient.
            const Surface drawn = dlg.preview->Render();
            EXPECT_EQ(drawn.Pixel(3, 10), MakeArgb(0x99, 0x66, 0x33));
            ok();
            EXPECT_EQ(dlg.face.color1, 0x01336699);
        }
}

TEST_F(FaceDlgFixture, AutomaticGivesBlackAndTheCaptionColourIsTakenWhenPicked) {
    TUserFace face;
    face.kind = TUserFace::kColor;
    face.value = TUserFace::kSingleColor;
    face.color1 = 0x7F123456;
    face.textColor = 0x00FFFFFF;
    CZylFaceDlg& dlg = open(face, &layout);
    EXPECT_EQ(dlg.captionColor->color, 0xFFFFFFu);

    QTest::mouseClick(dlg.color1Button, Qt::LeftButton);
    ASSERT_NE(dlg.color1Button->Popup(), nullptr);
    dlg.color1Button->Popup()->ChangeSelection(kAutomaticIndex);
    dlg.color1Button->Popup()->EndSelection(true);
    EXPECT_EQ(dlg.face.color1, 0x7F000000);
    EXPECT_EQ(dlg.color1Button->color, kAutomaticColor);

    // The caption's colour has no "Automatic" and follows only an accepted choice.
    QTest::mouseClick(dlg.captionColor, Qt::LeftButton);
    CColourPopup* popup = dlg.captionColor->Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->defaultText.isEmpty());
    popup->ChangeSelection(0);
    EXPECT_EQ(dlg.face.textColor, 0x00FFFFFF);
    popup->EndSelection(true);
    EXPECT_EQ(static_cast<std::uint32_t>(dlg.face.textColor), colourTable[0].color);
    ok();
    EXPECT_EQ(static_cast<std::uint32_t>(dlg.face.textColor), colourTable[0].color);
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(FaceDlgFixture, CaptionPreviewFollowsEveryKeystroke) {
    TUserFace face;
    face.kind = TUserFace::kColor;
    face.value = TUserFace::kSingleColor;
    face.color1 = 0x00402000;
    face.textColor = 0x00FFFFFF;
    CZylFaceDlg& dlg = open(face, &layout);
    PaintCounter counter;
    dlg.preview->installEventFilter(&counter);
    QApplication::processEvents();
    const QString typed = "Hall 1";
    for (int i = 0; i < typed.size(); ++i) {
        const int paints = counter.paints;
        QTest::keyClick(dlg.captionText, typed[i].toLatin1());
        QApplication::processEvents();
        const std::u16string expected = typed.left(i + 1).toStdU16String();
        EXPECT_EQ(dlg.face.text, expected);
        EXPECT_GT(counter.paints, paints) << i;
        // The preview is the face with this text, nothing else.
        TUserFace alone;
        alone.CopyFrom(dlg.face);
        alone.text = expected;
        Surface reference(320, 240);
        DrawFace(reference, alone, layout, reference.Bounds());
        const Surface drawn = dlg.preview->Render();
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                ASSERT_EQ(drawn.Pixel(x + 3, y + 10), reference.Pixel(x, y)) << i << ": " << x << "," << y;
    }
    QTest::keyClick(dlg.captionText, Qt::Key_Backspace);
    EXPECT_EQ(dlg.face.text, u"Hall ");
    ok();
    EXPECT_EQ(dlg.face.text, u"Hall ");
}

// Each radio button's row of the enabling table; the caption's controls stay enabled.
TEST_F(FaceDlgFixture, EachKindEnablesItsControls) {
    struct Case {
        const char* radio;
        std::int32_t kind;
        bool gradient, color1, color2, image, addImage, buttonFace;
    };
    const Case cases[] = {
        {"blankRadio", TUserFace::kBlank, false, false, false, false, false, false},
        {"colorRadio", TUserFace::kColor, true, true, true, false, false, false},
        {"imageRadio", TUserFace::kImage, false, false, false, true, true, false},
        {"buttonFaceRadio", TUserFace::kButtonFace, false, false, false, false, false, true},
    };
    // Opening on each kind and clicking each radio after any other give the same rows.
    for (const Case& from : cases) {
        for (const Case& to : cases) {
            TUserFace face;
            face.kind = from.kind;
            face.value = from.kind == TUserFace::kColor ? TUserFace::kLeftToRight : 3;
            CZylFaceDlg& dlg = open(face, &layout);
            auto* radio = child<QRadioButton>(dlg, to.radio);
            ASSERT_NE(radio, nullptr);
            QTest::mouseClick(radio, Qt::LeftButton);
            SCOPED_TRACE(std::string(from.radio) + " -> " + to.radio);
            EXPECT_TRUE(radio->isChecked());
            EXPECT_EQ(dlg.face.kind, to.kind);
            EXPECT_EQ(dlg.gradientList->isEnabled(), to.gradient);
            EXPECT_EQ(dlg.color1Button->isEnabled(), to.color1);
            EXPECT_EQ(dlg.color2Button->isEnabled(), to.color2);
            EXPECT_EQ(dlg.imageList->isEnabled(), to.image);
            EXPECT_EQ(dlg.addImageButton->isEnabled(), to.addImage);
            EXPECT_EQ(dlg.buttonFaceList->isEnabled(), to.buttonFace);
            EXPECT_TRUE(dlg.captionText->isEnabled());
            EXPECT_TRUE(dlg.captionColor->isEnabled());
            EXPECT_TRUE(dlg.captionSize->isEnabled());
        }
    }
    // A kind without a radio button: nothing checked, nothing disabled, and OK keeps it.
    TUserFace odd;
    odd.kind = 5;
    odd.value = 77;
    CZylFaceDlg& dlg = open(odd, &layout);
    for (const Case& c : cases)
        EXPECT_FALSE(child<QRadioButton>(dlg, c.radio)->isChecked()) << c.radio;
    for (QWidget* control : std::initializer_list<QWidget*>{dlg.gradientList, dlg.color1Button, dlg.color2Button,
                                                            dlg.imageList, dlg.addImageButton, dlg.buttonFaceList})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    ok();
    EXPECT_EQ(dlg.face.kind, 5);
    EXPECT_EQ(dlg.face.value, 77);
}

} // namespace
