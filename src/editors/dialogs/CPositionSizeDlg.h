#pragma once

#include "editors/CInitDialog.h"

#include <cstdint>

class QLineEdit;
class UiHost;

// "Position and Size": an object's left, top, width and height typed to the pixel. The caller sets
// the members, runs the dialog and on OK takes them back. The values keep the object within reach
// as a drag does: its top-left pixel on the screen and a size of at least 1 × 1.
class CPositionSizeDlg : public CInitDialog {
    Q_OBJECT
public:
    explicit CPositionSizeDlg(UiHost& ui, QWidget* parent = nullptr);

    void OnInitDialog() override;
    // Reads the fields with their checks; a refused field keeps the dialog open.
    void accept() override;

    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 1;
    std::int32_t height = 1;

    QLineEdit* leftEdit;
    QLineEdit* topEdit;
    QLineEdit* widthEdit;
    QLineEdit* heightEdit;

private:
    UiHost& ui;
};
