#include "editors/dialogs/CNumericDlg.h"

#include "editors/DialogParts.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/ColourChoice.h"
#include "layout/CNumericCtrl.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text) {
    QLineEdit* edit = MakeLineEdit(parent, name, {});
    edit->setText(text);
    edit->setCursorPosition(0);
    return edit;
}

} // namespace

CNumericDlg::CNumericDlg(CNumericCtrl& page_, UiHost& ui, QWidget* parent) : QDialog(parent), page(page_) {
    setWindowTitle("Numeric Entry Page");
    setObjectName("numericDlg");

    pageName = makeEdit(this, "pageName", QString::fromStdU16String(page.name));
    auto makeColour = [&](const char* name, std::int32_t field) {
        auto* button = new CColorButton(ui, this);
        button->setObjectName(name);
        button->color = ButtonColourFromField(field);
        return button;
    };
    backgroundColor = makeColour("backgroundColor", page.backgroundColor);
    primaryColor = makeColour("primaryColor", page.primaryColor);
    highlightColor = makeColour("highlightColor", page.highlightColor);
    textColor = makeColour("textColor", page.textColor);
    textLine1 = makeEdit(this, "textLine1", QString::fromStdU16String(page.textLines[0]));
    textLine2 = makeEdit(this, "textLine2", QString::fromStdU16String(page.textLines[1]));
    textLine3 = makeEdit(this, "textLine3", QString::fromStdU16String(page.textLines[2]));
    textLine4 = makeEdit(this, "textLine4", QString::fromStdU16String(page.textLines[3]));
    textLine1->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);

    auto* form = new QFormLayout;
    const auto addRow = [&](const char* caption, QWidget* field) { return AddFormRow(*form, this, caption, field); };
    addRow("&Page Name:", pageName);
    addRow("&Background Color:", backgroundColor);
    addRow("P&rimary Color:", primaryColor);
    addRow("&Highlight Color:", highlightColor);
    addRow("Te&xt Color:", textColor);
    addRow("&First Text Line:", textLine1);
    addRow("&Second Text Line:", textLine2);
    addRow("&Third Text Line:", textLine3);
    // Present but never shown: the page keeps its fourth line as it is.
    textLine4Label = new QLabel("Fourth Text Line:", this);
    textLine4Label->setBuddy(textLine4);
    textLine4->setAccessibleName("Fourth Text Line:");
    textLine4Label->hide();
    textLine4->hide();

    const OkCancel okCancel = MakeOkCancel(this);
    QDialogButtonBox* buttons = okCancel.box;
    connect(buttons, &QDialogButtonBox::accepted, this, &CNumericDlg::OnOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CNumericDlg::OnOK() {
    page.name = pageName->text().toStdU16String();
    page.textLines[0] = textLine1->text().toStdU16String();
    page.textLines[1] = textLine2->text().toStdU16String();
    page.textLines[2] = textLine3->text().toStdU16String();
    page.textLines[3] = textLine4->text().toStdU16String();
    page.backgroundColor = FieldWithButtonColour(page.backgroundColor, backgroundColor->color);
    page.primaryColor = FieldWithButtonColour(page.primaryColor, primaryColor->color);
    page.highlightColor = FieldWithButtonColour(page.highlightColor, highlightColor->color);
    page.textColor = FieldWithButtonColour(page.textColor, textColor->color);
    accept();
}
