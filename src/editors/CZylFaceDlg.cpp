#include "CZylFaceDlg.h"

CZylFaceDlg::CZylFaceDlg(TLayout* layout_, UiHost& ui_, QWidget* parent) : QDialog(parent), layout(layout_), ui(ui_) {
    setWindowTitle("Face Definition");
}
