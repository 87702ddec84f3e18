#pragma once

#include "layout/TUserFace.h"

#include "editors/CInitDialog.h"

#include <cstdint>
#include <memory>

class CColorButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Surface;
class SurfaceView;
class TLayout;
class UiHost;

// "Face Definition": one face designed on a copy, which the caller takes back on OK. An image
// added here joins the layout at once, whatever the dialog's result.
class CZylFaceDlg : public CInitDialog {
    Q_OBJECT
public:
    // `layout` may be null: then no image can be chosen or added.
    CZylFaceDlg(TLayout* layout, UiHost& ui, QWidget* parent = nullptr);
    ~CZylFaceDlg() override;

    TUserFace face;
    TLayout* layout;
    // The object's size, handed in and back; image faces take their picture's size on OK.
    int width = 30;
    int height = 30;
    int gradientKind = TUserFace::kSingleColor;
    std::int32_t imageId = -1;
    std::int32_t buttonFaceId = 0;

    QRadioButton* blankRadio;
    QRadioButton* colorRadio;
    QRadioButton* imageRadio;
    QRadioButton* buttonFaceRadio;
    QComboBox* gradientList;
    CColorButton* color1Button;
    CColorButton* color2Button;
    QComboBox* imageList;
    QPushButton* addImageButton;
    QComboBox* buttonFaceList;
    QLineEdit* captionText;
    CColorButton* captionColor;
    QComboBox* captionSize;
    // The frame the face is drawn in.
    SurfaceView* preview;
    QPushButton* okButton;
    QPushButton* cancelButton;

    // The controls take the face's state; runs each time the dialog is shown.
    void OnInitDialog() override;
    void OnAddImage();
    void OnOK();

private:
    void onKind(std::int32_t kind);
    void applyControlStates(std::int32_t kind);
    void onGradientKind(int row);
    void onImage(int row);
    void onButtonFace(int row);
    void onCaptionSize(int row);
    // face.color1 for button 1053, face.color2 for any other.
    std::int32_t& colourField(const CColorButton* button);
    void onColorChanged(std::uint32_t color, CColorButton* button);
    void onCaptionColor(std::uint32_t color);
    void onCaptionEdited();
    // The face's value follows the current kind's selection, then the preview repaints.
    void changed();
    void paintPreview(Surface& surface);

    UiHost& ui;
    QButtonGroup* kindGroup;
    // The colour field as it was when a popup of 1053 or 1054 opened.
    std::int32_t colourBeforePopup = 0;
    // Glyphs and built-in images for the preview when the caller gives no layout.
    std::unique_ptr<TLayout> ownLayout;
};
