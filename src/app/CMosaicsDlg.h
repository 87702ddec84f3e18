#pragma once

#include "session/Session.h"
#include "session/SessionHost.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

class CFirmwareUpgrade;
class CTryLayoutDlg;
class QAction;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class TLayout;
class UiHost;

// The main window: the port list, the status log and the commands, as a view of a Session.
class CMosaicsDlg : public QDialog, public SessionHost {
    Q_OBJECT
public:
    // The lister and timing default to the machine's; tests pass their own.
    CMosaicsDlg(TLayout& layout, UiHost& ui, QWidget* parent = nullptr, Session::PortLister lister = {},
                const LinkTiming& timing = LinkTiming{});
    ~CMosaicsDlg() override;

    Session& GetSession() { return *session; }
    // The device the user chose or typed: the chosen entry's device, or the typed text as it is.
    QString ChosenDevice() const;
    // Called once, when the window's first paint (children included) is done; the start-up
    // benchmark uses it to see when the user would see the window.
    void SetFirstPaintHook(std::function<void()> hook) { firstPaintHook = std::move(hook); }

    void OnConnect();
    void OnEditLayout();
    void OnDefineUserEvents();
    void OnUploadLayout();
    void OnUpgradeFirmware();
    void OnReboot();
    void OnAbout();
    // Either upload setting toggled: the session takes both, and they are remembered.
    void OnUploadSettings();
    // Opens the Try Layout window, or raises the one already open.
    void OnTryLayout();

    // SessionHost
    TransferObserver& BeginProgress(bool reading) override;
    void EndProgress() override;
    [[nodiscard]] std::optional<std::string> ChooseFirmwareFile() override;
    void ShowMessage(const std::string& text) override;
    void LogChanged() override;
    void StateChanged() override;

    QComboBox* portList;
    QPushButton* connectButton;
    QPushButton* editLayoutButton;
    QPushButton* defineEventsButton;
    QPushButton* uploadButton;
    QPushButton* upgradeButton;
    QPushButton* rebootButton;
    QPushButton* exitButton;
    QPlainTextEdit* logView;
    // The upload settings in the window's menu, remembered between runs.
    QAction* verifyUploadsAction;
    QAction* fullWindowsAction;
    QAction* tryLayoutAction;
    // The one Try Layout window while it is open.
    QPointer<CTryLayoutDlg> tryWindow;
    // Shown while a transfer runs; null otherwise.
    CFirmwareUpgrade* progressWindow = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FillPortList();
    Session::UploadOptions UploadSettings() const;
    // Captions and enabled commands as the session's state says.
    void ShowState();
    // Whatever just ran may have changed the layout; an open Try Layout window follows it.
    void LayoutEdited();

    TLayout& layout;
    UiHost& ui;
    std::unique_ptr<Session> session;
    std::function<void()> firstPaintHook;
};
