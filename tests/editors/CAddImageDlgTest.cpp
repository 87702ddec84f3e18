#include "editors/dialogs/CAddImageDlg.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "TempDir.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/dialogs/CImageSizeDlg.h"
#include "layout/TLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace {

// Pixel (x, y) is red x, green y, blue the high bits of both, so every drawn pixel names its source.
Picture codedPicture(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y,
                             {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>((x >> 8) << 4 | (y >> 8)), 255});
    return picture;
}

Argb shown(const Picture& picture, int x, int y) {
    const Rgba pixel = picture.GetPixel(x, y);
    return MakeArgb(pixel.r, pixel.g, pixel.b);
}

const QString kOpenRequest = "Open | PNG Graphics files (*.png);;All Files (*)";

class AddImageDlgFixture : public ::testing::Test {
protected:
    void SetUp() override { QtTestApp(); }

    QString write(const std::string& name, const Picture& picture) {
        return QString::fromStdString(folder.Write(name, picture.EncodePng()));
    }
    QString writeBroken() { return QString::fromStdString(folder.Write("broken.png", {'n', 'o', 't', 0, 1, 2})); }

    // Opens the dialog, which asks for its file at once; `file` answers, a null one cancels.
    CAddImageDlg& open(const QString& file) {
        ui.openFiles = {file};
        dialog = std::make_unique<CAddImageDlg>(ui);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }

    static QString sizeTexts(const CAddImageDlg& dlg) { return dlg.widthText->text() + " x " + dlg.heightText->text(); }
    // The number the size label shows, its digit groups joined; -1 when the text is not "N bytes".
    static long long shownBytes(const CAddImageDlg& dlg) {
        QString text = dlg.bytesText->text();
        if (!text.endsWith(" bytes"))
            return -1;
        bool ok = false;
        const long long n = text.chopped(6).remove(' ').toLongLong(&ok);
        return ok ? n : -1;
    }
    static long long pngBytes(Picture picture, int width, int height) {
        picture.Resample(width, height);
        return static_cast<long long>(picture.EncodePng().size());
    }

    TempFolder folder;
    ScriptedUiHost ui;
    std::unique_ptr<CAddImageDlg> dialog;
};

TEST_F(AddImageDlgFixture, OpeningAsksForAFileAndFitsThePictureToTheScreen) {
    struct Case {
        int width, height;
        QString fitted;
        Rect placed; // in the preview
    } cases[] = {
        {640, 480, "320 x 240", {3, 10, 323, 250}},
        {100, 1000, "24 x 240", {151, 10, 175, 250}},
        {200, 100, "200 x 100", {63, 80, 263, 180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fitted.toStdString());
        ui.fileRequests.clear();
        const Picture picture = codedPicture(c.width, c.height);
        CAddImageDlg& dlg = open(write("Front Door.png", picture));
        EXPECT_EQ(ui.fileRequests, QStringList{kOpenRequest});
        EXPECT_TRUE(ui.messages.isEmpty());
        EXPECT_EQ(dlg.descriptionEdit->text(), "Front Door");
        EXPECT_EQ(sizeTexts(dlg), c.fitted);
        ASSERT_NE(dlg.image, nullptr);
        EXPECT_EQ(*dlg.image, picture) << "resampled only on OK";
        EXPECT_EQ(shownBytes(dlg), pngBytes(picture, dlg.width, dlg.height));
        EXPECT_EQ(dlg.bytesText->accessibleName(), "Size in the layout:");

        // Each preview pixel is the source pixel under its centre; around it the dialog shows through.
        const Surface preview = dlg.preview->Render();
        ASSERT_EQ(preview.Width(), 326);
        ASSERT_EQ(preview.Height(), 260);
        const auto source = [&](int x, int y) {
            return shown(picture, static_cast<int>((2LL * (x - c.placed.left) + 1) * c.width / (2 * c.placed.Width())),
                         static_cast<int>((2LL * (y - c.placed.top) + 1) * c.height / (2 * c.placed.Height())));
        };
        const int right = c.placed.right - 1;
        const int bottom = c.placed.bottom - 1;
        EXPECT_EQ(preview.Pixel(c.placed.left, c.placed.top), source(c.placed.left, c.placed.top));
        EXPECT_EQ(preview.Pixel(right, bottom), source(right, bottom));
        EXPECT_EQ(preview.Pixel(c.placed.left + 7, bottom - 5), source(c.placed.left + 7, bottom - 5));
        const Argb background = preview.Pixel(2, 5);
        EXPECT_NE(preview.Pixel(c.placed.left, c.placed.top), background);
        if (c.placed.left > 3) {
            EXPECT_EQ(preview.Pixel(c.placed.left - 1, c.placed.top), background);
            EXPECT_EQ(preview.Pixel(c.placed.right, bottom), background);
        }
        if (c.placed.top > 10) {
            EXPECT_EQ(preview.Pixel(c.placed.left, c.placed.top - 1), background);
            EXPECT_EQ(preview.Pixel(right, c.placed.bottom), background);
        }
    }
}

TEST_F(AddImageDlgFixture, ResizeTo160By120HandsBackExactlyThatWithTheTypedDescription) {
    Picture photo = codedPicture(400, 300);
    std::uint32_t grain = 1;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x, grain = grain * 1664525u + 1013904223u)
            photo.SetPixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(grain >> 24), 9, 255});
    CAddImageDlg& dlg = open(write("photo.png", photo));
    dlg.descriptionEdit->setFocus();
    dlg.descriptionEdit->selectAll();
    QTest::keyClicks(dlg.descriptionEdit, "Evening sky");
    ui.dialogSteps = {[](QDialog& d) {
        auto& size = dynamic_cast<CImageSizeDlg&>(d);
        EXPECT_EQ(size.widthEdit->text(), "320");
        EXPECT_EQ(size.heightEdit->text(), "240");
        EXPECT_TRUE(size.retainAspectBox->isChecked());
        size.widthEdit->setFocus();
        size.widthEdit->selectAll();
        QTest::keyClicks(size.widthEdit, "160");
        size.accept();
    }};
    const long long fullSize = shownBytes(dlg);
    QTest::mouseClick(dlg.resizeButton, Qt::LeftButton);
    EXPECT_EQ(ui.dialogs, QStringList{"Image Size"});
    EXPECT_EQ(sizeTexts(dlg), "160 x 120");
    const long long shown = shownBytes(dlg);
    EXPECT_LT(shown, fullSize);
    EXPECT_TRUE(dlg.bytesText->text().contains(QRegularExpression("^\\d{1,3}( \\d{3})+ bytes$")))
        << "in groups of three: " << dlg.bytesText->text().toStdString();
    const Surface preview = dlg.preview->Render();
    EXPECT_NE(preview.Pixel(83, 70), preview.Pixel(82, 70)) << "the preview shows the new size, centred";

    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.description, "Evening sky");
    ASSERT_NE(dlg.image, nullptr);
    EXPECT_EQ(dlg.image->Width(), 160);
    EXPECT_EQ(dlg.image->Height(), 120);
    EXPECT_EQ(shown, static_cast<long long>(dlg.image->EncodePng().size())) << "what the layout will hold";
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(AddImageDlgFixture, BrowseCancelledAtOpeningThenOkGivesNoImage) {
    CAddImageDlg& dlg = open(QString());
    EXPECT_EQ(ui.fileRequests, QStringList{kOpenRequest});
    EXPECT_EQ(sizeTexts(dlg), "0 x 0");
    EXPECT_EQ(dlg.bytesText->text(), "0 bytes");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.image, nullptr);
    EXPECT_EQ(dlg.description, "");
}

TEST_F(AddImageDlgFixture, ResizeBeforeAnyImageIsRefusedOnOk) {
    CAddImageDlg& dlg = open(QString());
    ui.dialogSteps = {[](QDialog& d) {
        auto& size = dynamic_cast<CImageSizeDlg&>(d);
        EXPECT_EQ(size.widthEdit->text(), "0");
        size.widthEdit->setFocus();
        size.widthEdit->selectAll();
        QTest::keyClicks(size.widthEdit, "100");
        EXPECT_EQ(size.heightEdit->text(), "0") << "no ratio to keep";
        size.accept();
        EXPECT_TRUE(size.isVisible());
    }};
    QTest::mouseClick(dlg.resizeButton, Qt::LeftButton);
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer between 1 and 240."});
    EXPECT_EQ(sizeTexts(dlg), "0 x 0");
}

TEST_F(AddImageDlgFixture, AnUnreadableFileIsReportedAndChangesNothing) {
    const QString broken = writeBroken();
    const QString tooWide = write("wide.png", codedPicture(4097, 1)); // over the limit a layout holds
    const QString unknown = "not an image in a known format";
    struct Case {
        const char* what;
        QString first; // the file loaded before, if any
        QString description, size;
        int width;
        QString refused, cause; // the file refused, at opening or at a second Browse, and why
    } cases[] = {
        {"at opening", broken, "", "0 x 0", 0, broken, unknown},
        {"after a picture", write("tower.png", codedPicture(90, 60)), "tower", "90 x 60", 90, broken, unknown},
        {"too large", tooWide, "", "0 x 0", 0, tooWide, "is too large: 4097 x 1 pixels (at most 4096 x 4096)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        CAddImageDlg& dlg = open(c.first);
        if (c.width > 0) {
            ui.openFiles = {c.refused};
            QTest::mouseClick(dlg.browseButton, Qt::LeftButton);
        }
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].startsWith("ZYLMosaics: The image could not be loaded."));
        EXPECT_TRUE(ui.messages[0].contains(c.refused)) << ui.messages[0].toStdString();
        EXPECT_TRUE(ui.messages[0].contains(c.cause)) << ui.messages[0].toStdString();
        EXPECT_EQ(dlg.descriptionEdit->text(), c.description);
        EXPECT_EQ(sizeTexts(dlg), c.size);
        if (c.width > 0) {
            ASSERT_NE(dlg.image, nullptr);
            EXPECT_EQ(*dlg.image, codedPicture(90, 60));
        } else {
            EXPECT_EQ(dlg.image, nullptr);
        }
    }
}

TEST_F(AddImageDlgFixture, ASecondBrowseReplacesPictureNameAndSize) {
    CAddImageDlg& dlg = open(write("first.png", codedPicture(40, 30)));
    dlg.descriptionEdit->setText("typed");
    ui.openFiles = {write("second.gif.png", codedPicture(480, 960))};
    QTest::mouseClick(dlg.browseButton, Qt::LeftButton);
    EXPECT_EQ(dlg.descriptionEdit->text(), "second.gif");
    EXPECT_EQ(sizeTexts(dlg), "120 x 240");
    EXPECT_EQ(*dlg.image, codedPicture(480, 960));
    // Cancelling a later Browse leaves all of it.
    QTest::mouseClick(dlg.browseButton, Qt::LeftButton);
    EXPECT_EQ(ui.fileRequests.size(), 3);
    EXPECT_EQ(sizeTexts(dlg), "120 x 240");
}

TEST_F(AddImageDlgFixture, ImportIntoAddsTheEntryAtTheFrontWithTheNextId) {
    TLayout layout;
    auto existing = std::make_unique<Picture>(codedPicture(8, 8));
    const std::int32_t firstId = layout.AddUserImage(u"Old", std::move(existing)).id;
    const std::size_t count = layout.images.size();
    ui.openFiles = {write("Garden.png", codedPicture(640, 320))};
    ui.dialogSteps = {[](QDialog& d) { d.accept(); }};
    TImageEntry* entry = CAddImageDlg::ImportInto(layout, ui, nullptr);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ui.dialogs, QStringList{"Add Image"});
    ASSERT_EQ(layout.images.size(), count + 1);
    EXPECT_EQ(layout.images.front().get(), entry);
    EXPECT_EQ(entry->id, firstId + 1);
    EXPECT_EQ(entry->description, u"Garden");
    ASSERT_NE(entry->Image(), nullptr);
    EXPECT_EQ(entry->Image()->Width(), 320);
    EXPECT_EQ(entry->Image()->Height(), 160);

    // Cancelled: nothing joins the layout.
    ui.openFiles = {write("Pond.png", codedPicture(20, 20))};
    ui.dialogSteps = {[](QDialog& d) { d.reject(); }};
    EXPECT_EQ(CAddImageDlg::ImportInto(layout, ui, nullptr), nullptr);
    EXPECT_EQ(layout.images.size(), count + 1);

    // OK without a picture still adds an entry, with none.
    ui.openFiles = {QString()};
    ui.dialogSteps = {[](QDialog& d) { d.accept(); }};
    entry = CAddImageDlg::ImportInto(layout, ui, nullptr);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Image(), nullptr);
    EXPECT_EQ(entry->description, u"");
    EXPECT_EQ(entry->id, firstId + 2);

    // No ID left: said before the dialog opens, and nothing joins the layout.
    entry->id = std::numeric_limits<std::int32_t>::max();
    ui = ScriptedUiHost();
    EXPECT_EQ(CAddImageDlg::ImportInto(layout, ui, nullptr), nullptr);
    EXPECT_TRUE(ui.dialogs.isEmpty());
    EXPECT_EQ(ui.messages, QStringList{"Add Image: No image ID is left for a new image: this layout already has an "
                                       "image with ID 2147483647, the highest an ID can be. Nothing was added."});
    EXPECT_EQ(layout.images.size(), count + 2);
}

} // namespace
