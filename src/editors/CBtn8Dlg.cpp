#include "CBtn8Dlg.h"

CBtn8Dlg::CBtn8Dlg(CBtn8Ctrl& page_, QWidget* parent) : QDialog(parent), page(page_) {
    setWindowTitle("8 Button Page");
}
