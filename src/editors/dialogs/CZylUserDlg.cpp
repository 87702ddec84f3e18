#include "editors/dialogs/CZylUserDlg.h"

#include "editors/DialogParts.h"
#include "editors/UiHost.h"
#include "editors/UndoSteps.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CPageId.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <vector>

namespace {

const QString kPageFilter = "ZYL-1 User Page (*.zup);;All Files (*)";
const QString kPageSuffix = ".zup";

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

CZylUserDlg::CZylUserDlg(TLayout& layout_, TUserPage& page_, UiHost& ui_, bool sleepPage, QWidget* parent)
    : QDialog(parent), layout(layout_), page(page_), ui(ui_), isSleepPage(sleepPage) {
    setWindowTitle("ZYL-1 User Defined Page");
    setObjectName("userPageDialog");

    pageName = MakeLineEdit(this, "pageName", "Page Name:", 30);
    pageId = MakeLineEdit(this, "pageId", "Page ID:");
    pageId->setReadOnly(true);
    // Room for any 32-bit ID, and no more.
    pageId->setFixedWidth(pageId->fontMetrics().horizontalAdvance("-0000000000") + 12);
    setButton = MakeButton(this, "&Set", "setButton");

    canvasFrame = new QFrame(this);
    canvasFrame->setObjectName("canvasFrame");
    canvasFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    canvas = new CZylWnd(page, ui, canvasFrame);
    canvas->isSleepPage = isSleepPage;
    auto* frameLayout = new QVBoxLayout(canvasFrame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(canvas);
    // The canvas has the panel's fixed size; the frame only hugs it.
    canvasFrame->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    statusLine = new QLabel(this);
    statusLine->setObjectName("canvasStatus");
    // Its height stays the same whether it shows anything or not, so the dialog never jumps.
    statusLine->setMinimumHeight(statusLine->fontMetrics().height());
    connect(canvas, &CZylWnd::statusChanged, statusLine, &QLabel::setText);

    loadButton = MakeButton(this, "&Load Page", "loadButton");
    saveButton = MakeButton(this, "Sa&ve Page", "saveButton");
    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;

    auto* idRow = new QHBoxLayout;
    idRow->addWidget(pageId);
    idRow->addWidget(setButton);
    idRow->addStretch(1);
    auto* form = new QFormLayout;
    AddFormRow(*form, this, "Page &Name:", pageName);
    auto* pageIdLabel = new QLabel("Page &ID:", this);
    pageIdLabel->setBuddy(pageId);
    form->addRow(pageIdLabel, idRow);

    auto* files = new QVBoxLayout;
    files->addWidget(loadButton);
    files->addWidget(saveButton);
    files->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(canvasFrame, 0, Qt::AlignTop);
    body->addLayout(files);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(body);
    top->addWidget(statusLine);
    top->addWidget(okCancel.box);
    top->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* const tabOrder[] = {pageName, pageId, setButton, canvas, loadButton, saveButton, okButton, cancelButton};
    SetTabChain(tabOrder);

    pageName->setText(QString::fromStdU16String(page.name));
    pageId->setText(QString::number(page.pageId));
    shownName = page.name;

    // Every step of the page, "Set" and "Load Page" included, goes on the canvas's stack.
    AddUndoKeys(
        *this, [this] { canvas->Undo(); }, [this] { canvas->Redo(); });
    connect(&canvas->undoStack, &QUndoStack::indexChanged, this, &CZylUserDlg::ShowPageFields);
    connect(setButton, &QPushButton::clicked, this, &CZylUserDlg::OnSetPageId);
    connect(loadButton, &QPushButton::clicked, this, &CZylUserDlg::OnLoadPage);
    connect(saveButton, &QPushButton::clicked, this, &CZylUserDlg::OnSavePage);
    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CZylUserDlg::OnOkClicked);
}

void CZylUserDlg::OnOkClicked() {
    page.name = pageName->text().toStdU16String();
    accept();
}

void CZylUserDlg::OnSetPageId() {
    canvas->Change("Set Page ID", [&] {
        // The field always shows the page's ID, so starting from the page's is starting from the shown one.
        CPageId dialog(layout, page, ui, this);
        if (ui.RunDialog(dialog) != QDialog::Accepted)
            return false;
        page.pageId = dialog.pageId;
        pageId->setText(QString::number(page.pageId));
        return true;
    });
}

void CZylUserDlg::ShowPageFields() {
    pageId->setText(QString::number(page.pageId));
    if (page.name != shownName) {
        shownName = page.name;
        pageName->setText(QString::fromStdU16String(page.name));
    }
}

void CZylUserDlg::OnSavePage() {
    const std::optional<QString> path = ui.GetSaveFileName(this, "Save Page", kPageFilter, kPageSuffix);
    if (!path)
        return;
    // The file holds the page as the layout has it: a typed name is part of it only after OK.
    std::string error;
    if (!layout.SavePage(page, localPath(*path), &error))
        ui.ShowMessage(this, "Save Page", QString::fromStdString(error));
}

void CZylUserDlg::OnLoadPage() {
    const std::optional<QString> path = ui.GetOpenFileName(this, "Load Page", kPageFilter, kPageSuffix);
    if (!path)
        return;
    // A file that is not a page file, or cannot be read, is passed over in silence; a page file
    // whose content is damaged says so. Either way the page stays as it was.
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(localPath(*path), TLayout::kPageFileLimit, bytes, nullptr) || !TLayout::IsPageFile(bytes))
        return;
    // Undoing the load puts the page's record back; the images the file merged into the layout
    // stay, and those nothing shows are purged when the layout is next encoded.
    canvas->Change("Load Page", [&] {
        std::string error;
        if (!layout.LoadPageBytes(page, bytes, "\"" + path->toStdString() + "\"", &error)) {
            ui.ShowMessage(this, "Load Page", QString::fromStdString(error));
            return false;
        }
        // The selected object went with the old objects.
        canvas->selected = nullptr;
        pageName->setText(QString::fromStdU16String(page.name));
        // Hot spots reach only the first page with an ID, so the loaded page does not keep one in use.
        const std::int32_t loadedId = page.pageId;
        if (layout.RenumberIfIdTaken(page))
            ui.ShowMessage(this, "Load Page",
                           QString("Page ID %1 is already used by another page of this layout, so the loaded page "
                                   "gets page ID %2 instead. Give it another ID with \"Set\" if you like.")
                               .arg(loadedId)
                               .arg(page.pageId));
        pageId->setText(QString::number(page.pageId));
        return true;
    });
}
