#pragma once

#include "editors/CInitDialog.h"

#include <cstdint>

class QComboBox;
class QPushButton;
class Surface;
class SurfaceView;
class TLayout;
class UiHost;

// "Slider Properties": a level slider's image and the mixer channel it controls. The caller fills
// the members before running it and reads them back only after OK; an image added here stays in
// the layout even when the dialog is cancelled.
class CSliderPropDlg : public CInitDialog {
    Q_OBJECT
public:
    // Without a layout no image is offered or added and the preview stays empty.
    CSliderPropDlg(TLayout* layout, UiHost& ui, QWidget* parent = nullptr);

    // Shows the members in the controls; done once, when the dialog is first shown.
    void OnInitDialog() override;
    // Imports a picture as a new image of the layout and chooses it.
    void OnAddImage();

    TLayout* layout;
    std::int32_t sliderImageId = 2;
    std::int32_t controlId = -1;
    // The slider's size, for the preview only.
    std::int32_t width = 45;
    std::int32_t height = 130;

    SurfaceView* preview;
    QComboBox* imageList;
    QPushButton* addImageButton;
    QComboBox* controlIdList;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    void paintPreview(Surface& surface) const;

    UiHost& ui;
};
