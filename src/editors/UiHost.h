#pragma once

#include <QString>

#include <optional>

class QWidget;

// The one seam between the dialogs and the desktop: message boxes, questions and file choosers.
// The real one shows Qt's dialogs; tests install a scripted one.
class UiHost {
public:
    virtual ~UiHost() = default;

    virtual void ShowMessage(QWidget* parent, const QString& title, const QString& text) = 0;
    // True for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A file to open or to save to; nothing when the user cancels. `filter` is in Qt's form,
    // e.g. "ZYL-1 Template Files (*.zyl);;All Files (*)"; `suffix` is added to a typed name
    // without one.
    virtual std::optional<QString> GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                                   const QString& suffix) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                                   const QString& suffix) = 0;

    // The host every dialog uses; the real one unless a test installed another.
    static UiHost& Current();
    // Installs `host` (not owned) until it is uninstalled with nullptr.
    static void Install(UiHost* host);
};
