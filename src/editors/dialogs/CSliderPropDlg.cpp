#include "editors/dialogs/CSliderPropDlg.h"

#include "editors/DialogParts.h"
#include "editors/EntryCombo.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/dialogs/CAddImageDlg.h"
#include "editors/dialogs/PropertyRules.h"
#include "layout/TLayout.h"
#include "render/PageDrawing.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Room for an upright slider of the default 130 pixels, or a lying one of the same length.
constexpr int kPreviewWidth = 180;
constexpr int kPreviewHeight = 180;

} // namespace

CSliderPropDlg::CSliderPropDlg(TLayout* layout_, UiHost& ui_, QWidget* parent)
    : CInitDialog(parent), layout(layout_), ui(ui_) {
    setWindowTitle("Slider Properties");
    setObjectName("sliderDialog");

    preview = new SurfaceView(this, QSize(kPreviewWidth, kPreviewHeight),
                              [this](Surface& surface) { paintPreview(surface); });

    imageList = MakeEntryCombo(this, "imageList", "Slider Image:");
    imageList->setMinimumContentsLength(20);
    addImageButton = MakeButton(this, "&Add Image", "addImageButton");
    addImageButton->setEnabled(layout != nullptr);
    controlIdList = MakeEntryCombo(this, "controlIdList", "Control ID:");

    auto* imageRow = new QHBoxLayout;
    imageRow->addWidget(imageList, 1);
    imageRow->addWidget(addImageButton);
    auto* form = new QFormLayout;
    auto* imageLabel = new QLabel("Slider &Image:", this);
    imageLabel->setBuddy(imageList);
    form->addRow(imageLabel, imageRow);
    auto* controlLabel = new QLabel("&Control ID:", this);
    controlLabel->setBuddy(controlIdList);
    form->addRow(controlLabel, controlIdList);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(preview, 0, Qt::AlignTop);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    auto* top = new QVBoxLayout(this);
    top->addLayout(columns);
    top->addWidget(okCancel.box);

    // The members already hold the choices, so OK only closes.
    connect(okCancel.box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(addImageButton, &QPushButton::clicked, this, &CSliderPropDlg::OnAddImage);
}

void CSliderPropDlg::OnInitDialog() {
    FillEntryCombo(*controlIdList, ControlIdList(controlId));
    FillEntryCombo(*imageList, SliderImageList(layout, sliderImageId));
    // Connected only now, so filling the lists does not count as a choice.
    connect(controlIdList, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto chosen = ChosenNumber(*controlIdList))
            controlId = *chosen;
    });
    connect(imageList, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto chosen = ChosenNumber(*imageList))
            sliderImageId = *chosen;
        preview->update();
    });
    preview->update();
}

void CSliderPropDlg::OnAddImage() {
    if (layout == nullptr)
        return;
    const TImageEntry* entry = CAddImageDlg::ImportInto(*layout, ui, this);
    if (entry == nullptr)
        return;
    const int row = InsertSortedEntry(*imageList, {QString::fromStdU16String(entry->description), entry->id});
    imageList->setCurrentIndex(row);
    sliderImageId = entry->id;
    preview->update();
}

void CSliderPropDlg::paintPreview(Surface& surface) const {
    const QColor mid = palette().color(QPalette::Mid);
    const Argb edge = MakeArgb(mid.red(), mid.green(), mid.blue());
    const Rect frame = surface.Bounds();
    surface.DrawRectangle(frame, edge, surface.Pixel(frame.left + 1, frame.top + 1));
    if (layout == nullptr)
        return;
    const Rect slider = SliderPreviewRect(frame, width, height);
    DrawLevelSlider(surface, sliderImageId, *layout, slider.left, slider.top, width, height);
}
