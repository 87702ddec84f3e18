#include "CNumericDlg.h"

CNumericDlg::CNumericDlg(CNumericCtrl& page_, UiHost&, QWidget* parent) : QDialog(parent), page(page_) {
    setWindowTitle("Numeric Entry Page");
}
