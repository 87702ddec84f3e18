#pragma once

#include "picture/Picture.h"

#include <QDialog>

#include <memory>

class TImageEntry;
class TLayout;
class UiHost;

// "Add Image": a picture file brought in at a size the panel's screen can show.
class CAddImageDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddImageDlg(UiHost& ui, QWidget* parent = nullptr);

    // Runs the dialog; on OK the picture (or none) joins the layout's images as a new user image,
    // which is returned. Null when the user cancels.
    static TImageEntry* ImportInto(TLayout& layout, UiHost& ui, QWidget* parent);

    int width = 0;
    int height = 0;
    std::unique_ptr<Picture> image;
    QString description;

private:
    UiHost& ui;
};
