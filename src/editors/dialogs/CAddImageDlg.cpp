#include "editors/dialogs/CAddImageDlg.h"

#include "editors/DataExchange.h"
#include "editors/DialogParts.h"
#include "editors/UiHost.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/dialogs/CImageSizeDlg.h"
#include "editors/dialogs/ImageFitting.h"
#include "layout/TLayout.h"
#include "render/Surface.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <exception>
#include <new>

namespace {

// The preview's frame around the 320 x 240 area it draws in.
constexpr int kPreviewWidth = 320 + 2 * 3;
constexpr int kPreviewHeight = 240 + 2 * 10;

QLabel* makeValueText(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* text = new QLabel("0", parent);
    text->setObjectName(name);
    text->setAccessibleName(accessibleName);
    text->setFrameShape(QFrame::Panel);
    text->setFrameShadow(QFrame::Sunken);
    text->setMinimumWidth(text->fontMetrics().horizontalAdvance("00000"));
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return text;
}

// What went wrong: the picture layer words its own failures, and memory is what else may run out.
QString causeOf(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return "there is not enough memory";
    return QString::fromStdString(error.what());
}

// The reason a file was refused, as a sentence that names the file.
QString loadFailureText(const QString& path, const std::exception& error) {
    QString cause = causeOf(error);
    if (!cause.contains(QString::fromLocal8Bit(QFile::encodeName(path))))
        cause = path + ": " + cause;
    return "The image could not be loaded.\n\n" + cause + ".";
}

// "1 234 567": the groups apart, the same in every language.
QString groupedNumber(std::size_t n) {
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, ' ');
    return digits;
}

} // namespace

CAddImageDlg::CAddImageDlg(UiHost& ui_, QWidget* parent) : QDialog(parent), ui(ui_) {
    setWindowTitle("Add Image");
    setObjectName("addImageDlg");

    descriptionEdit = MakeLineEdit(this, "description", "Description:", 32);
    auto* descriptionLabel = new QLabel("&Description:", this);
    descriptionLabel->setBuddy(descriptionEdit);

    widthText = makeValueText(this, "width", "Width:");
    heightText = makeValueText(this, "height", "Height:");
    bytesText = new QLabel(this);
    bytesText->setObjectName("layoutBytes");
    bytesText->setAccessibleName("Size in the layout:");
    bytesText->setText("0 bytes");
    browseButton = MakeButton(this, "&Browse", "browseButton");
    resizeButton = MakeButton(this, "Re&size", "resizeButton");
    connect(browseButton, &QPushButton::clicked, this, &CAddImageDlg::OnBrowse);
    connect(resizeButton, &QPushButton::clicked, this, &CAddImageDlg::OnResize);

    preview = new SurfaceView(this, QSize(kPreviewWidth, kPreviewHeight),
                              [this](Surface& surface) { paintPreview(surface); });

    auto* top = new QHBoxLayout;
    top->addWidget(descriptionLabel);
    top->addWidget(descriptionEdit, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel("Width:", this));
    side->addWidget(widthText);
    side->addSpacing(6);
    side->addWidget(new QLabel("Height:", this));
    side->addWidget(heightText);
    side->addSpacing(12);
    side->addWidget(browseButton);
    side->addWidget(resizeButton);
    side->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(preview);
    middle->addLayout(side);

    auto* bytesRow = new QHBoxLayout;
    bytesRow->addWidget(new QLabel("Size in the layout:", this));
    bytesRow->addWidget(bytesText);
    bytesRow->addStretch(1);

    const OkCancel okCancel = MakeOkCancel(this);
    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CAddImageDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(bytesRow);
    layout->addWidget(okCancel.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const std::array<QWidget*, 5> order{descriptionEdit, browseButton, resizeButton, okCancel.ok, okCancel.cancel};
    SetTabChain(order);

    OnBrowse();
}

QWidget* CAddImageDlg::hostWindow() {
    return isVisible() || parentWidget() == nullptr ? this : parentWidget();
}

void CAddImageDlg::OnBrowse() {
    const std::optional<QString> path = ui.GetOpenFileName(hostWindow(), "Open", kFilter, ".png");
    if (!path)
        return;
    Picture loaded;
    try {
        loaded.LoadFile(QFile::encodeName(*path).toStdString());
    } catch (const std::exception& error) {
        ui.ShowMessage(hostWindow(), DataExchange::kTitle, loadFailureText(*path, error));
        return;
    }
    if (!image)
        image = std::make_unique<Picture>();
    *image = std::move(loaded);
    description = DescriptionFromPath(*path);
    descriptionEdit->setText(description);
    width = image->Width();
    height = image->Height();
    refresh();
}

void CAddImageDlg::OnResize() {
    CImageSizeDlg sizeDlg(ui, hostWindow());
    sizeDlg.width = width;
    sizeDlg.height = height;
    sizeDlg.retainAspect = 1;
    if (ui.RunDialog(sizeDlg) != QDialog::Accepted)
        return;
    width = sizeDlg.width;
    height = sizeDlg.height;
    refresh();
}

void CAddImageDlg::refresh() {
    const ImageSize fitted = FitToScreen({width, height});
    width = fitted.width;
    height = fitted.height;
    widthText->setText(QString::number(width));
    heightText->setText(QString::number(height));
    std::size_t bytes = 0;
    try {
        bytes = layoutBytes();
    } catch (const std::exception&) {
        bytesText->setText("unknown");
        preview->update();
        return;
    }
    bytesText->setText(groupedNumber(bytes) + (bytes == 1 ? " byte" : " bytes"));
    preview->update();
}

std::size_t CAddImageDlg::layoutBytes() const {
    if (!image || image->IsEmpty())
        return 0;
    Picture resized = *image;
    resized.Resample(width, height);
    return resized.EncodePng().size();
}

void CAddImageDlg::paintPreview(Surface& surface) const {
    // The frame's edge, drawn by hand because the view paints over its whole area.
    const QColor edge = palette().color(QPalette::Mid);
    const Argb edgeColor = MakeArgb(edge.red(), edge.green(), edge.blue());
    const Rect bounds = surface.Bounds();
    surface.FillRect({bounds.left, bounds.top, bounds.right, bounds.top + 1}, edgeColor);
    surface.FillRect({bounds.left, bounds.bottom - 1, bounds.right, bounds.bottom}, edgeColor);
    surface.FillRect({bounds.left, bounds.top, bounds.left + 1, bounds.bottom}, edgeColor);
    surface.FillRect({bounds.right - 1, bounds.top, bounds.right, bounds.bottom}, edgeColor);
    if (!image)
        return;
    const Rect area = PreviewArea(bounds);
    surface.DrawPictureScaled(*image, PreviewPlacement(area, {width, height}), area);
}

void CAddImageDlg::accept() {
    if (image) {
        try {
            image->Resample(width, height);
        } catch (const std::exception& error) {
            ui.ShowMessage(this, DataExchange::kTitle, causeOf(error) + ".");
            return;
        }
    }
    description = descriptionEdit->text();
    QDialog::accept();
}

TImageEntry* CAddImageDlg::ImportInto(TLayout& layout, UiHost& ui, QWidget* parent) {
    // Asked first, so no picture is chosen and fitted only to be refused.
    std::string error;
    if (!layout.HasFreeImageId(&error)) {
        ui.ShowMessage(parent, "Add Image", QString::fromStdString(error));
        return nullptr;
    }
    CAddImageDlg dialog(ui, parent);
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return nullptr;
    return &layout.AddUserImage(dialog.description.toStdU16String(), std::move(dialog.image));
}
