#include "editors/dialogs/CZylFaceDlg.h"

#include "editors/DialogParts.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/ColourChoice.h"
#include "editors/dialogs/CAddImageDlg.h"
#include "editors/dialogs/FaceChoices.h"
#include "layout/TLayout.h"
#include "render/FaceDrawing.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QRadioButton* makeRadio(QWidget* parent, const QString& caption, const char* name) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    radio->setAccessibleName(PlainCaption(caption));
    return radio;
}

QComboBox* makeList(QWidget* parent, const char* name, const QString& accessibleName, int minChars) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    // Long image descriptions must not stretch the dialog.
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(minChars);
    return list;
}

CColorButton* makeColorButton(UiHost& ui, QWidget* parent, const char* name, const QString& accessibleName) {
    auto* button = new CColorButton(ui, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    return button;
}

// Fills the list without reporting the programmatic changes as the user's choices.
void fill(QComboBox* list, const FaceChoices& choices, std::int32_t selected) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const FaceChoice& choice : choices)
        list->addItem(choice.text, choice.number);
    list->setCurrentIndex(RowOfNumber(choices, selected));
}

FaceChoices choicesOf(const QComboBox* list) {
    FaceChoices choices;
    for (int row = 0; row < list->count(); ++row)
        choices.push_back({list->itemText(row), list->itemData(row).toInt()});
    return choices;
}

} // namespace

CZylFaceDlg::CZylFaceDlg(TLayout* layout_, UiHost& ui_, QWidget* parent)
    : CInitDialog(parent), layout(layout_), ui(ui_) {
    setWindowTitle("Face Definition");
    setObjectName("faceDialog");

    blankRadio = makeRadio(this, "&Blank", "blankRadio");
    colorRadio = makeRadio(this, "&Color or Gradient", "colorRadio");
    imageRadio = makeRadio(this, "&Image", "imageRadio");
    buttonFaceRadio = makeRadio(this, "Button &Face", "buttonFaceRadio");
    kindGroup = new QButtonGroup(this);
    kindGroup->addButton(blankRadio, TUserFace::kBlank);
    kindGroup->addButton(colorRadio, TUserFace::kColor);
    kindGroup->addButton(imageRadio, TUserFace::kImage);
    kindGroup->addButton(buttonFaceRadio, TUserFace::kButtonFace);

    gradientList = makeList(this, "gradientList", "Gradient Kind", 20);
    color1Button = makeColorButton(ui, this, "color1Button", "Button1");
    color1Button->setAccessibleDescription("The face's colour, or where its gradient starts");
    color2Button = makeColorButton(ui, this, "color2Button", "Button2");
    color2Button->setAccessibleDescription("Where the gradient ends");
    imageList = makeList(this, "imageList", "Image List", 20);
    addImageButton = MakeButton(this, "&Add Image", "addImageButton");
    buttonFaceList = makeList(this, "buttonFaceList", "Button Face List", 20);
    captionText = MakeLineEdit(this, "captionText", "String:");
    // A caption always has a colour of its own, so its picker offers no "Automatic".
    captionColor = makeColorButton(ui, this, "captionColor", "Caption Color");
    captionColor->defaultText.clear();
    captionSize = makeList(this, "captionSize", "Caption Size", 8);
    // The drawing rectangle inside is the panel's 320 x 240 screen, one pixel for one.
    preview = new SurfaceView(this, FacePreviewFrameSize(), [this](Surface& surface) { paintPreview(surface); });
    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;

    auto* stringLabel = new QLabel("&String:", this);
    stringLabel->setBuddy(captionText);

    auto* colors = new QHBoxLayout;
    colors->addWidget(color1Button);
    colors->addWidget(color2Button);
    colors->addStretch(1);
    auto* captionLooks = new QHBoxLayout;
    captionLooks->addWidget(captionColor);
    captionLooks->addWidget(captionSize);
    captionLooks->addStretch(1);
    auto* choices = new QGridLayout;
    choices->addWidget(blankRadio, 0, 0, Qt::AlignLeft);
    choices->addWidget(colorRadio, 1, 0, Qt::AlignLeft);
    choices->addWidget(gradientList, 1, 1);
    choices->addLayout(colors, 1, 2);
    choices->addWidget(imageRadio, 2, 0, Qt::AlignLeft);
    choices->addWidget(imageList, 2, 1);
    choices->addWidget(addImageButton, 2, 2, Qt::AlignLeft);
    choices->addWidget(buttonFaceRadio, 3, 0, Qt::AlignLeft);
    choices->addWidget(buttonFaceList, 3, 1);
    choices->setRowStretch(4, 1);
    choices->setRowMinimumHeight(4, fontMetrics().height());
    choices->addWidget(stringLabel, 5, 0);
    choices->addWidget(captionText, 5, 1);
    choices->addLayout(captionLooks, 5, 2);
    choices->setColumnStretch(1, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(choices, 1);
    body->addWidget(preview, 0, Qt::AlignTop);
    auto* top = new QVBoxLayout(this);
    top->addLayout(body);
    top->addWidget(okCancel.box);
    top->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* const order[] = {blankRadio,  colorRadio,   gradientList,   color1Button,    color2Button,
                              imageRadio,  imageList,    addImageButton, buttonFaceRadio, buttonFaceList,
                              captionText, captionColor, captionSize,    okButton,        cancelButton};
    SetTabChain(order);

    connect(kindGroup, &QButtonGroup::idToggled, this, [this](int kind, bool checked) {
        if (checked)
            onKind(kind);
    });
    connect(gradientList, &QComboBox::currentIndexChanged, this, &CZylFaceDlg::onGradientKind);
    connect(imageList, &QComboBox::currentIndexChanged, this, &CZylFaceDlg::onImage);
    connect(buttonFaceList, &QComboBox::currentIndexChanged, this, &CZylFaceDlg::onButtonFace);
    connect(captionSize, &QComboBox::currentIndexChanged, this, &CZylFaceDlg::onCaptionSize);
    for (CColorButton* button : {color1Button, color2Button}) {
        connect(button, &CColorButton::colorChanged, this, &CZylFaceDlg::onColorChanged);
        connect(button, &CColorButton::colorDropDown, this,
                [this](std::uint32_t, CColorButton* from) { colourBeforePopup = colourField(from); });
        // Hovering previewed other colours; a cancelled choice puts back the one it opened on.
        connect(button, &CColorButton::colorCancelled, this, [this](std::uint32_t, CColorButton* from) {
            colourField(from) = colourBeforePopup;
            changed();
        });
    }
    // The caption's colour is taken when the user picks one, not while the pointer roams.
    connect(captionColor, &CColorButton::colorAccepted, this,
            [this](std::uint32_t color, CColorButton*) { onCaptionColor(color); });
    connect(captionText, &QLineEdit::textChanged, this, &CZylFaceDlg::onCaptionEdited);
    connect(addImageButton, &QPushButton::clicked, this, &CZylFaceDlg::OnAddImage);
    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CZylFaceDlg::OnOK);
}

CZylFaceDlg::~CZylFaceDlg() = default;

void CZylFaceDlg::OnInitDialog() {
    gradientKind = TUserFace::kSingleColor;
    buttonFaceId = 0;
    imageId = -1;

    {
        const QSignalBlocker blocker(captionText);
        captionText->setText(QString::fromStdU16String(face.text));
    }
    captionColor->color = ButtonColourFromField(face.textColor);
    captionColor->update();
    fill(captionSize, CaptionSizeChoices(), face.textSize);

    // Every run starts from a fresh form: nothing checked, all enabled, both colours "Automatic".
    for (QWidget* control : {static_cast<QWidget*>(gradientList), static_cast<QWidget*>(color1Button),
                             static_cast<QWidget*>(color2Button), static_cast<QWidget*>(imageList),
                             static_cast<QWidget*>(addImageButton), static_cast<QWidget*>(buttonFaceList)})
        control->setEnabled(true);
    color2Button->setVisible(true);
    color1Button->color = kAutomaticColor;
    color2Button->color = kAutomaticColor;
    QRadioButton* checked = nullptr;
    switch (face.kind) {
    case TUserFace::kBlank:
        checked = blankRadio;
        break;
    case TUserFace::kButtonFace:
        checked = buttonFaceRadio;
        buttonFaceId = face.value;
        break;
    case TUserFace::kImage:
        checked = imageRadio;
        imageId = face.value;
        break;
    case TUserFace::kColor:
        checked = colorRadio;
        color1Button->color = ButtonColourFromField(face.color1);
        color2Button->color = ButtonColourFromField(face.color2);
        color2Button->setVisible(ShowsSecondColor(face.value));
        gradientKind = face.value;
        break;
    default:
        break;
    }
    {
        // An exclusive group cannot be left with nothing checked, as a face of another kind needs.
        const QSignalBlocker blocker(kindGroup);
        kindGroup->setExclusive(false);
        for (QAbstractButton* radio : kindGroup->buttons())
            radio->setChecked(radio == checked);
        kindGroup->setExclusive(true);
    }
    applyControlStates(face.kind);
    color1Button->update();
    color2Button->update();

    fill(gradientList, GradientKindChoices(), gradientKind);
    if (layout != nullptr) {
        fill(imageList, ImageChoices(*layout), imageId);
        addImageButton->setVisible(true);
    } else {
        fill(imageList, {}, imageId);
        addImageButton->setVisible(false);
    }
    // Even a button face opens with no entry chosen; OK still keeps its ID.
    fill(buttonFaceList, ButtonFaceChoices(), 0);
    buttonFaceList->setCurrentIndex(-1);
    changed();
}

void CZylFaceDlg::onKind(std::int32_t kind) {
    face.kind = kind;
    applyControlStates(kind);
    if (kind == TUserFace::kColor)
        color2Button->setVisible(ShowsSecondColor(gradientKind));
    changed();
}

void CZylFaceDlg::applyControlStates(std::int32_t kind) {
    const std::optional<FaceControlStates> states = ControlStatesForKind(kind);
    if (!states)
        return;
    gradientList->setEnabled(states->gradientKind);
    color1Button->setEnabled(states->color1);
    color2Button->setEnabled(states->color2);
    imageList->setEnabled(states->image);
    addImageButton->setEnabled(states->addImage);
    buttonFaceList->setEnabled(states->buttonFace);
}

void CZylFaceDlg::onGradientKind(int row) {
    if (row < 0)
        return;
    gradientKind = gradientList->itemData(row).toInt();
    color2Button->setVisible(ShowsSecondColor(gradientKind));
    changed();
}

void CZylFaceDlg::onImage(int row) {
    if (row < 0)
        return;
    imageId = imageList->itemData(row).toInt();
    changed();
}

void CZylFaceDlg::onButtonFace(int row) {
    if (row < 0)
        return;
    buttonFaceId = buttonFaceList->itemData(row).toInt();
    changed();
}

void CZylFaceDlg::onCaptionSize(int row) {
    if (row < 0)
        return;
    face.textSize = captionSize->itemData(row).toInt();
    changed();
}

std::int32_t& CZylFaceDlg::colourField(const CColorButton* button) {
    return button == color1Button ? face.color1 : face.color2;
}

void CZylFaceDlg::onColorChanged(std::uint32_t color, CColorButton* button) {
    // Hovering reports too, so the preview follows the pointer.
    std::int32_t& field = colourField(button);
    field = FieldWithButtonColour(field, color);
    changed();
}

void CZylFaceDlg::onCaptionColor(std::uint32_t color) {
    face.textColor = FieldWithButtonColour(face.textColor, color);
    changed();
}

void CZylFaceDlg::onCaptionEdited() {
    face.text = captionText->text().toStdU16String();
    changed();
}

void CZylFaceDlg::OnAddImage() {
    if (layout == nullptr)
        return;
    const TImageEntry* entry = CAddImageDlg::ImportInto(*layout, ui, this);
    if (entry == nullptr)
        return;
    // The new entry reads its description alone; the others keep their numbers until next time.
    const QString text = QString::fromStdU16String(entry->description);
    const int row = SortedInsertRow(choicesOf(imageList), text);
    {
        const QSignalBlocker blocker(imageList);
        imageList->insertItem(row, text, entry->id);
        imageList->setCurrentIndex(row);
    }
    imageId = entry->id;
    changed();
}

void CZylFaceDlg::OnOK() {
    face.value = FaceValueForKind(face.kind, face.value, gradientKind, imageId, buttonFaceId);
    if (face.kind == TUserFace::kImage) {
        if (const std::optional<QSize> size = ImageObjectSize(layout, imageId)) {
            width = size->width();
            height = size->height();
        }
    }
    face.text = captionText->text().toStdU16String();
    accept();
}

void CZylFaceDlg::changed() {
    face.value = FaceValueForKind(face.kind, face.value, gradientKind, imageId, buttonFaceId);
    preview->update();
}

void CZylFaceDlg::paintPreview(Surface& surface) {
    face.text = captionText->text().toStdU16String();
    face.value = FaceValueForKind(face.kind, face.value, gradientKind, imageId, buttonFaceId);
    // The frame's edge, well outside the face's rectangle.
    const QColor edge = palette().color(QPalette::Mid);
    const Argb line = MakeArgb(edge.red(), edge.green(), edge.blue());
    const int w = surface.Width();
    const int h = surface.Height();
    surface.FillRect({0, 0, w, 1}, line);
    surface.FillRect({0, h - 1, w, h}, line);
    surface.FillRect({0, 0, 1, h}, line);
    surface.FillRect({w - 1, 0, w, h}, line);
    if (layout == nullptr && !ownLayout)
        ownLayout = std::make_unique<TLayout>();
    DrawFace(surface, face, layout != nullptr ? *layout : *ownLayout, FacePreviewRect(w, h, face.kind));
}
