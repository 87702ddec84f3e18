#pragma once

#include "picture/Picture.h"

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class Surface;
class SurfaceView;
class TImageEntry;
class TLayout;
class UiHost;

// "Add Image": a picture file brought in at a size the panel's screen can show. The file is asked
// for as the dialog is made, so the Open dialog comes before this one is seen.
class CAddImageDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddImageDlg(UiHost& ui, QWidget* parent = nullptr);

    // Runs the dialog; on OK the picture (or none) joins the layout's images as a new user image,
    // which is returned. Null when the user cancels, or when the layout has no image ID left (said
    // before the dialog opens).
    static TImageEntry* ImportInto(TLayout& layout, UiHost& ui, QWidget* parent);

    // Asks for a file and loads it. A file that cannot be read is reported and changes nothing.
    void OnBrowse();
    // Asks for a new size, keeping the proportion by default.
    void OnResize();
    // Resamples the picture to the chosen size, takes the description and closes with OK.
    void accept() override;

    int width = 0;
    int height = 0;
    // Absent until a file loads; the caller takes it after OK, else it goes with the dialog.
    std::unique_ptr<Picture> image;
    QString description;

    QLineEdit* descriptionEdit;
    QLabel* widthText;
    QLabel* heightText;
    // What the picture will take in the layout at the chosen size: its PNG's bytes.
    QLabel* bytesText;
    SurfaceView* preview;
    QPushButton* browseButton;
    QPushButton* resizeButton;

    static constexpr const char* kFilter = "PNG Graphics files (*.png);;All Files (*)";

private:
    // Fits the size to the screen, shows it and its bytes in the layout, and repaints the preview.
    void refresh();
    // The bytes of the PNG the layout will hold: the picture resampled as OK will, then encoded.
    std::size_t layoutBytes() const;
    void paintPreview(Surface& surface) const;
    // Messages and nested dialogs sit over this dialog once it shows, over its parent before.
    QWidget* hostWindow();

    UiHost& ui;
};
