#include "CAddImageDlg.h"

#include "UiHost.h"
#include "layout/TLayout.h"

CAddImageDlg::CAddImageDlg(UiHost& ui_, QWidget* parent) : QDialog(parent), ui(ui_) {
    setWindowTitle("Add Image");
}

TImageEntry* CAddImageDlg::ImportInto(TLayout& layout, UiHost& ui, QWidget* parent) {
    CAddImageDlg dialog(ui, parent);
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return nullptr;
    return &layout.AddUserImage(dialog.description.toStdU16String(), std::move(dialog.image));
}
