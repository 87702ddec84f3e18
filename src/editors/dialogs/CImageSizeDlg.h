#pragma once

#include "editors/CInitDialog.h"

class QCheckBox;
class QLineEdit;
class UiHost;

// "Image Size": a width and a height within the screen, optionally kept in the proportion they
// had when the dialog opened. The caller sets the members, runs the dialog and on OK takes them.
class CImageSizeDlg : public CInitDialog {
    Q_OBJECT
public:
    explicit CImageSizeDlg(UiHost& ui, QWidget* parent = nullptr);

    // Pushes the members into the controls and takes the ratio. Runs by itself when the dialog is
    // first shown, so the caller may set the members after constructing it.
    void OnInitDialog() override;
    // Reads the fields with their checks; a refused field keeps the dialog open.
    void accept() override;

    int width = 0;
    int height = 0;
    int retainAspect = 0;
    // width / height as handed in; 0 when either was not positive, which turns the ratio rules off.
    double aspectRatio = 0.0;

    QLineEdit* widthEdit;
    QLineEdit* heightEdit;
    QCheckBox* retainAspectBox;

    static constexpr int kMaxWidth = 320;
    static constexpr int kMaxHeight = 240;

private:
    void onEdited(QLineEdit& edited);
    // Reads one field on a change; false stops the reading. A field is reported once each time it
    // turns invalid, so typing through a bad value shows one message, not one per key.
    [[nodiscard]] bool readOnChange(QLineEdit& field, int max, int& value, bool& reported);

    UiHost& ui;
    // Set while values go into the controls or a check runs: changes then are not the user's.
    bool exchanging = false;
    bool widthReported = false;
    bool heightReported = false;
};
