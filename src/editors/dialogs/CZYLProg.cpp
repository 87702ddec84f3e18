#include "editors/dialogs/CZYLProg.h"

#include "editors/DataExchange.h"
#include "editors/DialogParts.h"
#include "editors/MenuPlacement.h"
#include "editors/UiHost.h"
#include "editors/UndoSteps.h"
#include "editors/dialogs/CBtn8Dlg.h"
#include "editors/dialogs/CNumericDlg.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "editors/dialogs/PageListSteps.h"
#include "editors/dialogs/ProgRules.h"
#include "editors/dialogs/ProgSettings.h"
#include "layout/FileIo.h"
#include "layout/LayoutSnapshot.h"
#include "layout/TLayout.h"
#include "layout/TListItemVisitor.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace {

const QString kTemplateFilter = "ZYL-1 Template Files (*.zyl);;All Files (*)";
const QString kTemplateSuffix = ".zyl";

// Runs the editor of the page's kind on it.
class PageEditorRun : public TListItemVisitor {
public:
    PageEditorRun(TLayout& layout_, UiHost& ui_, QWidget* parent_) : layout(layout_), ui(ui_), parent(parent_) {}

    void Visit(TUserPage& page) override {
        CZylUserDlg dialog(layout, page, ui, false, parent);
        accepted = ui.RunDialog(dialog) == QDialog::Accepted;
        // Only the user page editor's name is shown again at once.
        renamed = accepted;
    }
    void Visit(CBtn8Ctrl& page) override {
        CBtn8Dlg dialog(page, parent);
        accepted = ui.RunDialog(dialog) == QDialog::Accepted;
    }
    void Visit(CNumericCtrl& page) override {
        CNumericDlg dialog(page, ui, parent);
        accepted = ui.RunDialog(dialog) == QDialog::Accepted;
    }

    bool accepted = false;
    bool renamed = false;

private:
    TLayout& layout;
    UiHost& ui;
    QWidget* parent;
};

// A field and its label; integer fields are narrow, as their numbers are short.
QLineEdit* makeField(QWidget* parent, const QString& label, const char* name, QLabel** labelOut, bool integer) {
    QLineEdit* field = MakeLineEdit(parent, name, PlainCaption(label));
    if (integer)
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance("0000000000"));
    *labelOut = new QLabel(label, parent);
    (*labelOut)->setBuddy(field);
    return field;
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

CZYLProg::CZYLProg(TLayout& layout_, UiHost& ui_, QWidget* parent) : QDialog(parent), layout(layout_), ui(ui_) {
    setWindowTitle("ZYL-1 Programming");
    setObjectName("programmingDialog");

    QLabel* controlNameLabel = nullptr;
    QLabel* brightnessLabel = nullptr;
    QLabel* sleepLabel = nullptr;
    QLabel* timeoutPinLabel = nullptr;
    QLabel* securityPinLabel = nullptr;
    QLabel* defaultPageLabel = nullptr;
    controlName = makeField(this, "Control &Name:", "controlName", &controlNameLabel, false);
    autoBrightness = MakeCheckBox(this, "Auto &Brightness", "autoBrightness");
    manualBrightness = makeField(this, "Manual Brig&htness:", "manualBrightness", &brightnessLabel, true);
    audibleFeedback = MakeCheckBox(this, "Give Audible &Feedback", "audibleFeedback");
    sleepEnabled = MakeCheckBox(this, "Enable Sleep on &Timeout", "sleepEnabled");
    sleepTimeout = makeField(this, "T&imeout:", "sleepTimeout", &sleepLabel, true);
    editSleepPageButton = MakeButton(this, "Edit Sleep &Page", "editSleepPageButton");
    pinOnWakeup = MakeCheckBox(this, "&Require PIN on Wakeup", "pinOnWakeup");
    timeoutPin = makeField(this, "Time&out Pin:", "timeoutPin", &timeoutPinLabel, false);
    securityPin = makeField(this, "Securit&y Pin:", "securityPin", &securityPinLabel, false);
    defaultPageEnabled = MakeCheckBox(this, "Enable Return to Default Pa&ge on Timeout", "defaultPageEnabled");
    defaultPageTimeout = makeField(this, "Ti&meout:", "defaultPageTimeout", &defaultPageLabel, true);

    pageList = new QListWidget(this);
    pageList->setObjectName("pageList");
    pageList->setAccessibleName("Pages");
    pageList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Room for a marked page name of usual length.
    pageList->setMinimumWidth(pageList->fontMetrics().averageCharWidth() * 28);

    addButton = MakeButton(this, "&Add", "addButton");
    TrackPressOrigin(*addButton);
    removeButton = MakeButton(this, "Remo&ve", "removeButton");
    editButton = MakeButton(this, "&Edit", "editButton");
    setDefaultButton = MakeButton(this, "Set &Default", "setDefaultButton");
    moveUpButton = MakeButton(this, "Move &Up", "moveUpButton");
    moveDownButton = MakeButton(this, "Move Do&wn", "moveDownButton");
    clearAllButton = MakeButton(this, "&Clear All", "clearAllButton");
    loadButton = MakeButton(this, "&Load", "loadButton");
    saveButton = MakeButton(this, "&Save", "saveButton");
    cancelButton = MakeButton(this, "Cancel", "cancelButton");
    okButton = MakeButton(this, "OK", "okButton");
    okButton->setDefault(true);

    // Settings: label, field and unit in three columns; check boxes span them.
    auto* settings = new QGridLayout;
    int row = 0;
    const auto addField = [&](QLabel* label, QLineEdit* field, const QString& unit) {
        settings->addWidget(label, row, 0);
        if (unit.isEmpty()) {
            settings->addWidget(field, row, 1, 1, 2);
        } else {
            settings->addWidget(field, row, 1);
            settings->addWidget(new QLabel(unit, this), row, 2);
        }
        ++row;
    };
    const auto addWide = [&](QWidget* widget) { settings->addWidget(widget, row++, 0, 1, 3); };
    const auto addGap = [&] { settings->setRowMinimumHeight(row++, 8); };
    addField(controlNameLabel, controlName, {});
    addGap();
    addWide(autoBrightness);
    addField(brightnessLabel, manualBrightness, "%");
    addWide(audibleFeedback);
    addGap();
    addWide(sleepEnabled);
    addField(sleepLabel, sleepTimeout, "Seconds");
    settings->addWidget(editSleepPageButton, row++, 1, 1, 2, Qt::AlignLeft);
    addGap();
    addWide(pinOnWakeup);
    addField(timeoutPinLabel, timeoutPin, {});
    addField(securityPinLabel, securityPin, {});
    addGap();
    addWide(defaultPageEnabled);
    addField(defaultPageLabel, defaultPageTimeout, "Seconds");
    settings->setRowStretch(row, 1);
    settings->setColumnStretch(2, 1);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {addButton, removeButton, editButton, setDefaultButton, moveUpButton, moveDownButton,
                                clearAllButton, loadButton, saveButton})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(okButton);

    auto* top = new QHBoxLayout(this);
    top->addLayout(settings);
    top->addSpacing(8);
    top->addWidget(pageList, 1);
    top->addLayout(buttons);

    // Reading order: the settings top to bottom, the list, then the button column.
    const std::vector<QWidget*> order = {controlName,      autoBrightness, manualBrightness,    audibleFeedback,
                                         sleepEnabled,     sleepTimeout,   editSleepPageButton, pinOnWakeup,
                                         timeoutPin,       securityPin,    defaultPageEnabled,  defaultPageTimeout,
                                         pageList,         addButton,      removeButton,        editButton,
                                         setDefaultButton, moveUpButton,   moveDownButton,      clearAllButton,
                                         loadButton,       saveButton,     cancelButton,        okButton};
    SetTabChain(order);

    connect(addButton, &QPushButton::clicked, this, &CZYLProg::OnAdd);
    connect(removeButton, &QPushButton::clicked, this, &CZYLProg::OnRemove);
    connect(editButton, &QPushButton::clicked, this, &CZYLProg::OnEdit);
    connect(setDefaultButton, &QPushButton::clicked, this, &CZYLProg::OnSetDefault);
    connect(moveUpButton, &QPushButton::clicked, this, &CZYLProg::OnMoveUp);
    connect(moveDownButton, &QPushButton::clicked, this, &CZYLProg::OnMoveDown);
    connect(clearAllButton, &QPushButton::clicked, this, &CZYLProg::OnClearAll);
    connect(loadButton, &QPushButton::clicked, this, &CZYLProg::OnLoad);
    connect(saveButton, &QPushButton::clicked, this, &CZYLProg::OnSave);
    connect(editSleepPageButton, &QPushButton::clicked, this, &CZYLProg::OnEditSleepPage);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(okButton, &QPushButton::clicked, this, &CZYLProg::OnOK);

    pageList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pageList, &QListWidget::customContextMenuRequested, this, &CZYLProg::OnPageListMenu);
    AddUndoKeys(
        *this, [this] { Undo(); }, [this] { Redo(); });

    FillFromLayout();
}

void CZYLProg::FillFromLayout() {
    ShowSettings(ProgSettings::FromLayout(layout));
    RebuildPageList();
}

void CZYLProg::ShowSettings(const ProgSettings& s) {
    controlName->setText(QString::fromStdU16String(s.controlName));
    autoBrightness->setChecked(s.autoBrightness);
    manualBrightness->setText(QString::number(s.manualBrightness));
    audibleFeedback->setChecked(s.audibleFeedback);
    sleepEnabled->setChecked(s.sleepEnabled);
    sleepTimeout->setText(QString::number(s.sleepTimeout));
    pinOnWakeup->setChecked(s.pinOnWakeup);
    timeoutPin->setText(QString::fromStdU16String(s.timeoutPin));
    securityPin->setText(QString::fromStdU16String(s.securityPin));
    defaultPageEnabled->setChecked(s.defaultPageEnabled);
    defaultPageTimeout->setText(QString::number(s.defaultPageTimeout));
}

std::optional<ProgSettings> CZYLProg::ReadSettings() {
    // The order decides which field a refusal points at.
    DataExchange dx(ui, this);
    ProgSettings s;
    s.audibleFeedback = audibleFeedback->isChecked();
    s.sleepEnabled = sleepEnabled->isChecked();
    const std::optional<int> sleep = dx.Integer(*sleepTimeout);
    s.pinOnWakeup = pinOnWakeup->isChecked();
    s.timeoutPin = timeoutPin->text().toStdU16String();
    s.controlName = controlName->text().toStdU16String();
    const std::optional<int> brightness = dx.Integer(*manualBrightness, 1, 100);
    s.autoBrightness = autoBrightness->isChecked();
    s.securityPin = securityPin->text().toStdU16String();
    s.defaultPageEnabled = defaultPageEnabled->isChecked();
    const std::optional<int> backToDefault = dx.Integer(*defaultPageTimeout);
    if (dx.Failed() || !sleep || !brightness || !backToDefault)
        return std::nullopt;
    s.sleepTimeout = *sleep;
    s.manualBrightness = *brightness;
    s.defaultPageTimeout = *backToDefault;
    return s;
}

void CZYLProg::RebuildPageList() {
    pageList->clear();
    for (const auto& page : layout.pages) {
        auto* item = new QListWidgetItem(PageEntryText(*page, layout.defaultPageId));
        item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(page.get())));
        pageList->addItem(item);
    }
    ClearSelection();
}

void CZYLProg::InsertEntry(int row, TListItem& page) {
    auto* item = new QListWidgetItem(PlainEntryText(page));
    item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&page)));
    pageList->insertItem(row, item);
    Select(row);
}

TListItem* CZYLProg::PageAt(int row) const {
    const QListWidgetItem* item = pageList->item(row);
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<TListItem*>(item->data(Qt::UserRole).value<quintptr>());
}

int CZYLProg::SelectedRow() const {
    const QList<QListWidgetItem*> selected = pageList->selectedItems();
    return selected.isEmpty() ? -1 : pageList->row(selected.front());
}

TListItem* CZYLProg::SelectedPage() const {
    return PageAt(SelectedRow());
}

void CZYLProg::Select(int row) {
    pageList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void CZYLProg::ClearSelection() {
    pageList->clearSelection();
    pageList->setCurrentRow(-1, QItemSelectionModel::Clear);
}

void CZYLProg::OnAdd() {
    const int reference = AddReferenceRow(SelectedRow(), pageList->count());
    const TListItem* referencePage = PageAt(reference);
    const std::optional<int> choice = ui.ChooseFromMenu(addButton, AddMenuItems(), MenuPointFor(*addButton));
    if (!choice)
        return;
    std::unique_ptr<TListItem> page = MakeNewPage(layout, *choice);
    if (!page)
        return;
    PageEditorRun run(layout, ui, this);
    page->Accept(run);
    // A cancelled editor drops the new page with the layout untouched.
    if (!run.accepted)
        return;
    InsertEntry(AddInsertRow(reference), *page);
    const TListItem* added = layout.InsertPageAfter(std::move(page), referencePage);
    undoStack.push(AddedPageStep(layout, layout.IndexOf(added), showPages()));
}

void CZYLProg::OnRemove() {
    const int row = SelectedRow();
    TListItem* page = PageAt(row);
    if (page == nullptr)
        return;
    QUndoCommand* step = RemovedPageStep(layout, layout.IndexOf(page), SnapshotPage(layout, *page), showPages());
    delete pageList->takeItem(row);
    layout.RemovePage(page);
    ClearSelection();
    undoStack.push(step);
}

void CZYLProg::OnEdit() {
    const int row = SelectedRow();
    TListItem* page = PageAt(row);
    if (page == nullptr)
        return;
    std::vector<std::uint8_t> before = SnapshotPage(layout, *page);
    PageEditorRun run(layout, ui, this);
    page->Accept(run);
    // The user page editor changes the page even when it is cancelled.
    if (std::vector<std::uint8_t> after = SnapshotPage(layout, *page); after != before)
        undoStack.push(EditedPageStep(layout, layout.IndexOf(page), std::move(before), std::move(after), showPages()));
    if (!run.renamed)
        return;
    pageList->item(row)->setText(PlainEntryText(*page));
    Select(row);
}

void CZYLProg::OnMoveUp() {
    const int row = SelectedRow();
    TListItem* page = PageAt(row);
    const std::optional<int> to = MoveUpRow(row);
    if (page == nullptr || !to)
        return;
    delete pageList->takeItem(row);
    InsertEntry(*to, *page);
    layout.MovePageUp(page);
    undoStack.push(MovedPageStep(layout, layout.IndexOf(page) + 1, layout.IndexOf(page), showPages()));
}

void CZYLProg::OnMoveDown() {
    const int row = SelectedRow();
    TListItem* page = PageAt(row);
    if (page == nullptr)
        return;
    const std::optional<int> to = MoveDownRow(row, layout.Next(page) != nullptr);
    if (!to)
        return;
    delete pageList->takeItem(row);
    InsertEntry(*to, *page);
    layout.MovePageDown(page);
    undoStack.push(MovedPageStep(layout, layout.IndexOf(page) - 1, layout.IndexOf(page), showPages()));
}

void CZYLProg::OnSetDefault() {
    const TListItem* page = SelectedPage();
    if (page == nullptr)
        return;
    const std::int32_t before = layout.defaultPageId;
    layout.ToggleDefaultPage(page);
    RebuildPageList();
    undoStack.push(DefaultPageStep(layout, before, layout.defaultPageId, layout.IndexOf(page), showPages()));
}

void CZYLProg::OnClearAll() {
    if (!ui.AskYesNo(this, "Clear All Entries",
                     "This will clear all entries from this control.\nDo you Want to continue ?"))
        return;
    std::vector<std::uint8_t> before = SnapshotLayout(layout);
    pageList->clear();
    layout.ClearAll();
    undoStack.push(
        LayoutStep("Clear All", layout, std::move(before), SnapshotLayout(layout), [this] { RebuildPageList(); }));
}

void CZYLProg::OnLoad() {
    // Only the checks' messages matter here; the typed values stay in the controls.
    (void)ReadSettings();
    const std::optional<QString> path = ui.GetOpenFileName(this, "Load Template", kTemplateFilter, kTemplateSuffix);
    if (!path)
        return;
    // A file that is not a template, or cannot be read, is passed over in silence; a template
    // whose content is damaged says so. Either way the layout stays as it was.
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(localPath(*path), TLayout::kTemplateCapacity, bytes, nullptr) || !TLayout::IsTemplateFile(bytes))
        return;
    std::vector<std::uint8_t> before = SnapshotLayout(layout);
    std::string error;
    if (!layout.LoadTemplateBytes(bytes, "\"" + path->toStdString() + "\"", &error)) {
        ui.ShowMessage(this, "Load Template", QString::fromStdString(error));
        return;
    }
    FillFromLayout();
    // Undone, the load brings back the settings the layout held, and the controls show them.
    undoStack.push(LayoutStep("Load", layout, std::move(before), SnapshotLayout(layout), [this] { FillFromLayout(); }));
}

void CZYLProg::OnSave() {
    // The file carries the layout's settings, not the typed ones; the reading only checks them.
    (void)ReadSettings();
    const std::optional<QString> path = ui.GetSaveFileName(this, "Save Template", kTemplateFilter, kTemplateSuffix);
    if (!path)
        return;
    std::string error;
    if (!layout.SaveTemplate(localPath(*path), &error))
        ui.ShowMessage(this, "Save Template", QString::fromStdString(error));
}

void CZYLProg::OnEditSleepPage() {
    std::vector<std::uint8_t> before;
    if (layout.sleepPage)
        before = SnapshotPage(layout, *layout.sleepPage);
    else
        layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    // The sleep page stays whatever the editor's result.
    CZylUserDlg dialog(layout, *layout.sleepPage, ui, true, this);
    ui.RunDialog(dialog);
    if (std::vector<std::uint8_t> after = SnapshotPage(layout, *layout.sleepPage); after != before)
        undoStack.push(SleepPageStep(layout, std::move(before), std::move(after)));
}

std::function<void(int)> CZYLProg::showPages() {
    return [this](int row) {
        RebuildPageList();
        if (row >= 0 && row < pageList->count())
            Select(row);
    };
}

void CZYLProg::OnPageListMenu(const QPoint& at) {
    const std::optional<int> command =
        ui.TrackPopupMenu(this, UndoMenuItems(undoStack), pageList->viewport()->mapToGlobal(at));
    if (command == kUndoCommand)
        Undo();
    else if (command == kRedoCommand)
        Redo();
}

void CZYLProg::Undo() {
    undoStack.undo();
}

void CZYLProg::Redo() {
    undoStack.redo();
}

void CZYLProg::OnOK() {
    const std::optional<ProgSettings> settings = ReadSettings();
    if (!settings)
        return;
    settings->ApplyTo(layout);
    accept();
}
