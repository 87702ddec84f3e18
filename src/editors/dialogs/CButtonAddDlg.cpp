#include "editors/dialogs/CButtonAddDlg.h"

#include "editors/DataExchange.h"
#include "editors/DialogParts.h"
#include "editors/EntryCombo.h"
#include "editors/UiHost.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/PropertyRules.h"
#include "layout/TLayout.h"
#include "render/FaceDrawing.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Room for the frame of a button face inside the margins it is previewed with (about 85 x 50),
// and for most image faces whole.
constexpr int kPreviewWidth = 262;
constexpr int kPreviewHeight = 276;

QRadioButton* makeRadio(QWidget* parent, const QString& caption, const QString& name) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    radio->setAccessibleName(PlainCaption(caption));
    return radio;
}

} // namespace

CButtonAddDlg::CButtonAddDlg(TLayout* layout_, UiHost& ui_, QWidget* parent)
    : CInitDialog(parent), layout(layout_), ui(ui_) {
    setWindowTitle("Button Object");
    setObjectName("buttonObjectDialog");

    preview = new SurfaceView(this, QSize(kPreviewWidth, kPreviewHeight),
                              [this](Surface& surface) { paintPreview(surface); });

    upRadio = makeRadio(this, "&Up", "upRadio");
    downRadio = makeRadio(this, "&Down", "downRadio");
    auto* faceShown = new QButtonGroup(this);
    faceShown->addButton(upRadio);
    faceShown->addButton(downRadio);
    topfaceButton = MakeButton(this, "Top&face", "topfaceButton");
    bottomfaceButton = MakeButton(this, "&Bottomface", "bottomfaceButton");

    toggleBox = MakeCheckBox(this, "&Toggle", "toggleBox");
    holdEdit = MakeLineEdit(this, "holdEdit", "Hold:");
    holdEdit->setMaximumWidth(holdEdit->fontMetrics().horizontalAdvance("0000000000"));
    selectorList = MakeEntryCombo(this, "selectorList", "Selector ID:");
    downEventEdit = MakeLineEdit(this, "downEventEdit", "Down Event:", 30);
    upEventEdit = MakeLineEdit(this, "upEventEdit", "Up Event:", 30);
    entryPageList = MakeEntryCombo(this, "entryPageList", "Entry Page:");

    form = new QFormLayout;
    const auto addRow = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
        return label;
    };
    form->addRow(toggleBox);
    addRow("&Hold:", holdEdit);
    selectorLabel = addRow("&Selector ID:", selectorList);
    addRow("Down &Event:", downEventEdit);
    addRow("Up E&vent:", upEventEdit);
    addRow("Entry P&age:", entryPageList);

    auto* radios = new QHBoxLayout;
    radios->addWidget(upRadio);
    radios->addWidget(downRadio);
    radios->addStretch(1);
    auto* faceButtons = new QHBoxLayout;
    faceButtons->addWidget(topfaceButton);
    faceButtons->addWidget(bottomfaceButton);
    faceButtons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(preview);
    left->addLayout(radios);
    left->addLayout(faceButtons);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    auto* top = new QVBoxLayout(this);
    top->addLayout(columns);
    top->addWidget(okCancel.box);

    QWidget* const order[] = {upRadio,      downRadio,     topfaceButton, bottomfaceButton, toggleBox, holdEdit,
                              selectorList, downEventEdit, upEventEdit,   entryPageList,    okButton,  cancelButton};
    SetTabChain(order);

    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CButtonAddDlg::OnOK);
    connect(upRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        showDownFace = false;
        preview->update();
    });
    connect(downRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        showDownFace = true;
        preview->update();
    });
    connect(topfaceButton, &QPushButton::clicked, this, [this] { EditFace(upFace); });
    connect(bottomfaceButton, &QPushButton::clicked, this, [this] { EditFace(downFace); });
}

void CButtonAddDlg::OnInitDialog() {
    showDownFace = false;
    upRadio->setChecked(true);

    form->setRowVisible(toggleBox, !isSelector);
    form->setRowVisible(selectorList, isSelector);
    if (isSelector)
        FillEntryCombo(*selectorList, SelectorList(selectorId));
    FillEntryCombo(*entryPageList, EntryPageList(layout, entryPageId));

    toggleBox->setChecked(toggle);
    holdEdit->setText(NumberText(holdTime));
    downEventEdit->setText(QString::fromStdU16String(downEvent));
    downEventEdit->setCursorPosition(0);
    upEventEdit->setText(QString::fromStdU16String(upEvent));
    upEventEdit->setCursorPosition(0);

    // Connected only now, so filling the list does not count as a choice.
    connect(selectorList, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto chosen = ChosenNumber(*selectorList))
            selectorId = *chosen;
    });
    preview->update();
}

void CButtonAddDlg::EditFace(TUserFace& face) {
    CZylFaceDlg dialog(layout, ui, this);
    dialog.face.CopyFrom(face);
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return;
    face.CopyFrom(dialog.face);
    preview->update();
}

void CButtonAddDlg::OnOK() {
    DataExchange dx(ui, this);
    const std::optional<double> hold = dx.Number(*holdEdit);
    if (!hold)
        return;
    toggle = toggleBox->isChecked();
    holdTime = *hold;
    downEvent = downEventEdit->text().toStdU16String();
    upEvent = upEventEdit->text().toStdU16String();

    const ObjectSize size = ButtonSizeFromFaces(upFace, downFace, layout, {width, height});
    width = size.width;
    height = size.height;
    if (const auto chosen = ChosenNumber(*entryPageList))
        entryPageId = *chosen;
    accept();
}

void CButtonAddDlg::paintPreview(Surface& surface) const {
    const QColor mid = palette().color(QPalette::Mid);
    const Argb edge = MakeArgb(mid.red(), mid.green(), mid.blue());
    const Rect frame = surface.Bounds();
    surface.DrawRectangle(frame, edge, surface.Pixel(frame.left + 1, frame.top + 1));
    if (layout == nullptr)
        return;
    const TUserFace& shown = showDownFace ? downFace : upFace;
    DrawFace(surface, shown, *layout, ButtonPreviewRect(frame, shown));
}
