#pragma once

#include "layout/TUserFace.h"

#include <QDialog>

class TLayout;
class UiHost;

// "Face Definition": one face designed on a copy, which the caller takes back on OK.
class CZylFaceDlg : public QDialog {
    Q_OBJECT
public:
    // `layout` may be null: then no image can be chosen or added.
    CZylFaceDlg(TLayout* layout, UiHost& ui, QWidget* parent = nullptr);

    TUserFace face;
    TLayout* layout;
    // The object's size, handed in and back; image faces take their picture's size on OK.
    int width = 30;
    int height = 30;

private:
    UiHost& ui;
};
