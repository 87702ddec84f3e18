#include "CMosaicsDlg.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CFirmwareUpgrade.h"
#include "editors/DialogParts.h"
#include "editors/UiHost.h"
#include "editors/dialogs/CEventDef.h"
#include "editors/dialogs/CZYLProg.h"
#include "editors/tryout/CTryLayoutDlg.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QVBoxLayout>

#include <utility>

namespace {

QPushButton* makeButton(QWidget* parent, const QString& caption, const char* name) {
    QPushButton* button = MakeButton(parent, caption, name);
    // Enter on a focused command runs that command; only elsewhere does it reach Exit, the default.
    button->setAutoDefault(true);
    return button;
}

// The user's settings file (on Linux ~/.config/ZYLMosaics/ZYLMosaics.conf), named here rather than
// by the application object, so every window of every run finds the same one.
constexpr const char* kSettingsName = "ZYLMosaics";
constexpr const char* kVerifyKey = "uploads/verify";
constexpr const char* kFullWindowsKey = "uploads/fullWindows";

QAction* makeSetting(QWidget* parent, const QString& caption, const char* name, const char* key) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(QSettings(kSettingsName, kSettingsName).value(key, false).toBool());
    parent->addAction(action);
    return action;
}

} // namespace

CMosaicsDlg::CMosaicsDlg(TLayout& layout_, UiHost& ui_, QWidget* parent, Session::PortLister lister,
                         const LinkTiming& timing)
    : QDialog(parent), layout(layout_), ui(ui_) {
    setWindowTitle("ZYLMosaics");
    setObjectName("mainWindow");
    setWindowIcon(MakeAppIcon());
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);

    portList = new QComboBox(this);
    portList->setObjectName("portList");
    portList->setEditable(true);
    portList->setInsertPolicy(QComboBox::NoInsert);
    portList->setMinimumContentsLength(22);
    portList->setAccessibleName("Port:");
    auto* portLabel = new QLabel("&Port:", this);
    portLabel->setBuddy(portList);

    connectButton = makeButton(this, "&Connect", "connectButton");
    editLayoutButton = makeButton(this, "&Edit Layout", "editLayoutButton");
    defineEventsButton = makeButton(this, "&Define User Events", "defineEventsButton");
    uploadButton = makeButton(this, "&Upload Layout", "uploadButton");
    upgradeButton = makeButton(this, "Upgrade &Firmware", "upgradeButton");
    rebootButton = makeButton(this, "&Reboot", "rebootButton");
    exitButton = makeButton(this, "E&xit", "exitButton");
    exitButton->setDefault(true);

    logView = new QPlainTextEdit(this);
    logView->setObjectName("log");
    logView->setAccessibleName("Log");
    logView->setReadOnly(true);
    logView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView->setMinimumSize(360, 260);

    auto* column = new QVBoxLayout;
    column->addWidget(portLabel);
    column->addWidget(portList);
    column->addSpacing(8);
    for (QPushButton* button :
         {connectButton, editLayoutButton, defineEventsButton, uploadButton, upgradeButton, rebootButton})
        column->addWidget(button);
    column->addStretch(1);
    column->addWidget(exitButton);
    auto* top = new QHBoxLayout(this);
    top->addWidget(logView, 1);
    top->addLayout(column);

    // The desktop's window menu is not ours to extend; the about box sits in the window's own menu.
    auto* about = new QAction("&About ZYLMosaics...", this);
    about->setObjectName("aboutAction");
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, &CMosaicsDlg::OnAbout);
    addAction(about);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    verifyUploadsAction = makeSetting(this, "&Verify Uploads by Reading Back", "verifyUploadsAction", kVerifyKey);
    fullWindowsAction = makeSetting(this, "&Full Reply Windows for Uploads", "fullWindowsAction", kFullWindowsKey);
    auto* trySeparator = new QAction(this);
    trySeparator->setSeparator(true);
    addAction(trySeparator);
    tryLayoutAction = new QAction("&Try Layout", this);
    tryLayoutAction->setObjectName("tryLayoutAction");
    connect(tryLayoutAction, &QAction::triggered, this, &CMosaicsDlg::OnTryLayout);
    addAction(tryLayoutAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(connectButton, &QPushButton::clicked, this, &CMosaicsDlg::OnConnect);
    connect(editLayoutButton, &QPushButton::clicked, this, &CMosaicsDlg::OnEditLayout);
    connect(defineEventsButton, &QPushButton::clicked, this, &CMosaicsDlg::OnDefineUserEvents);
    connect(uploadButton, &QPushButton::clicked, this, &CMosaicsDlg::OnUploadLayout);
    connect(upgradeButton, &QPushButton::clicked, this, &CMosaicsDlg::OnUpgradeFirmware);
    connect(rebootButton, &QPushButton::clicked, this, &CMosaicsDlg::OnReboot);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::accept);

    session = std::make_unique<Session>(layout, *this, std::move(lister), nullptr, timing);
    session->SetUploadOptions(UploadSettings());
    for (QAction* setting : {verifyUploadsAction, fullWindowsAction})
        connect(setting, &QAction::toggled, this, &CMosaicsDlg::OnUploadSettings);
    FillPortList();
    ShowState();
}

CMosaicsDlg::~CMosaicsDlg() = default;

void CMosaicsDlg::FillPortList() {
    portList->clear();
    for (const PortEntry& entry : session->Ports())
        portList->addItem(QString::fromStdString(entry.label), QString::fromStdString(entry.device));
    // Nothing is chosen until the user chooses.
    portList->setCurrentIndex(-1);
    portList->setEditText(QString());
}

QString CMosaicsDlg::ChosenDevice() const {
    const QString text = portList->currentText().trimmed();
    const int index = portList->findText(text);
    if (index >= 0)
        return portList->itemData(index).toString();
    return text;
}

void CMosaicsDlg::ShowState() {
    connectButton->setText(session->Connected() ? "Dis&connect" : "&Connect");
    connectButton->setAccessibleName(QString::fromStdString(session->ConnectCaption()));
    uploadButton->setEnabled(session->IsEnabled(Session::Command::UploadLayout));
    upgradeButton->setEnabled(session->IsEnabled(Session::Command::UpgradeFirmware));
    rebootButton->setEnabled(session->IsEnabled(Session::Command::Reboot));
    portList->setEnabled(!session->Connected());
}

void CMosaicsDlg::keyPressEvent(QKeyEvent* event) {
    // A typed device path is confirmed with Enter; without this the dialog would take Enter as Exit.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    QWidget* focus = focusWidget();
    if (enter && plain && focus != nullptr && (focus == portList || portList->isAncestorOf(focus))) {
        if (connectButton->isEnabled())
            connectButton->click();
        return;
    }
    // Reading the log is no reason to leave: Enter there does nothing.
    if (enter && focus == logView)
        return;
    QDialog::keyPressEvent(event);
}

void CMosaicsDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!firstPaintHook)
        return;
    // The children paint after this returns, in the same pass; a queued call runs once all is drawn.
    QMetaObject::invokeMethod(this, std::exchange(firstPaintHook, {}), Qt::QueuedConnection);
}

void CMosaicsDlg::OnConnect() {
    session->OnConnect(ChosenDevice().toStdString());
    ShowState();
    LayoutEdited();
}

void CMosaicsDlg::OnEditLayout() {
    // The dialog changes the layout in place; its result tells nothing the window needs.
    CZYLProg dialog(layout, ui, this);
    ui.RunDialog(dialog);
    LayoutEdited();
}

void CMosaicsDlg::OnDefineUserEvents() {
    CEventDef dialog(layout, this);
    ui.RunDialog(dialog);
    LayoutEdited();
}

void CMosaicsDlg::OnUploadLayout() {
    session->OnUploadLayout();
    ShowState();
    // The upload purges unused images and draws the names' glyphs anew.
    LayoutEdited();
}

void CMosaicsDlg::OnUpgradeFirmware() {
    session->OnUpgradeFirmware(ChosenDevice().toStdString());
    ShowState();
}

void CMosaicsDlg::OnReboot() {
    session->OnReboot();
    ShowState();
}

void CMosaicsDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMosaicsDlg::OnTryLayout() {
    if (tryWindow == nullptr) {
        tryWindow = new CTryLayoutDlg(layout, this);
        tryWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    tryWindow->show();
    tryWindow->raise();
    tryWindow->activateWindow();
}

void CMosaicsDlg::LayoutEdited() {
    if (tryWindow != nullptr)
        tryWindow->LayoutChanged();
}

Session::UploadOptions CMosaicsDlg::UploadSettings() const {
    return {.fullWindows = fullWindowsAction->isChecked(), .verify = verifyUploadsAction->isChecked()};
}

void CMosaicsDlg::OnUploadSettings() {
    session->SetUploadOptions(UploadSettings());
    QSettings settings(kSettingsName, kSettingsName);
    settings.setValue(kVerifyKey, verifyUploadsAction->isChecked());
    settings.setValue(kFullWindowsKey, fullWindowsAction->isChecked());
}

TransferObserver& CMosaicsDlg::BeginProgress(bool reading) {
    EndProgress();
    progressWindow = new CFirmwareUpgrade(this, reading);
    progressWindow->show();
    progressWindow->repaint();
    return *progressWindow;
}

void CMosaicsDlg::EndProgress() {
    if (progressWindow == nullptr)
        return;
    progressWindow->hide();
    progressWindow->deleteLater();
    progressWindow = nullptr;
}

std::optional<std::string> CMosaicsDlg::ChooseFirmwareFile() {
    const auto file =
        ui.GetOpenFileName(this, "Upgrade Firmware", "ZYL-1 Firmware File (*.zfw);;All Files (*)", ".zfw");
    if (!file)
        return std::nullopt;
    return file->toStdString();
}

void CMosaicsDlg::ShowMessage(const std::string& text) {
    ui.ShowMessage(this, "ZYLMosaics", QString::fromStdString(text));
}

void CMosaicsDlg::StateChanged() {
    ShowState();
    repaint();
}

void CMosaicsDlg::LogChanged() {
    QString text = QString::fromStdString(session ? session->Log() : std::string());
    text.remove('\r');
    if (text.endsWith('\n'))
        text.chop(1);
    logView->setPlainText(text);
    // The newest line is the one that matters.
    logView->verticalScrollBar()->setValue(logView->verticalScrollBar()->maximum());
    logView->repaint();
}
