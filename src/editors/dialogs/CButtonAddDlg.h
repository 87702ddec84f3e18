#pragma once

#include "layout/TUserFace.h"

#include "editors/CInitDialog.h"

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Surface;
class SurfaceView;
class TLayout;
class UiHost;

// "Button Object": a button's or selector button's faces, events, entry page and hold time. The
// caller fills the members before running it and reads them back only after OK.
class CButtonAddDlg : public CInitDialog {
    Q_OBJECT
public:
    // `layout` may be null: then no page or image is offered and the faces draw nothing.
    CButtonAddDlg(TLayout* layout, UiHost& ui, QWidget* parent = nullptr);

    // Shows the members in the controls; done once, when the dialog is first shown.
    void OnInitDialog() override;
    void OnOK();
    // Opens the face dialog on a copy of the face; OK takes the copy back.
    void EditFace(TUserFace& face);

    TLayout* layout;
    TUserFace upFace;
    TUserFace downFace;
    bool showDownFace = false;
    bool isSelector = false;
    std::int32_t selectorId = 1;
    bool toggle = false;
    std::u16string downEvent;
    std::u16string upEvent;
    std::int32_t entryPageId = -1;
    double holdTime = 0;
    std::int32_t width = 85;
    std::int32_t height = 50;

    SurfaceView* preview;
    QRadioButton* upRadio;
    QRadioButton* downRadio;
    QCheckBox* toggleBox;
    QLineEdit* holdEdit;
    QLabel* selectorLabel;
    QComboBox* selectorList;
    QLineEdit* downEventEdit;
    QLineEdit* upEventEdit;
    QComboBox* entryPageList;
    QPushButton* topfaceButton;
    QPushButton* bottomfaceButton;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    void paintPreview(Surface& surface) const;

    UiHost& ui;
    QFormLayout* form;
};
