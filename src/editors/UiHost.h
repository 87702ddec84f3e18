#pragma once

#include <QString>

#include <optional>

class QWidget;

// The one seam between the dialogs and the desktop: message boxes, questions and file choosers.
// Whoever builds a window or dialog passes one in: the application its QtUiHost, tests a
// scripted one.
class UiHost {
public:
    virtual ~UiHost() = default;

    virtual void ShowMessage(QWidget* parent, const QString& title, const QString& text) = 0;
    // True for Yes.
    [[nodiscard]] virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A file to open or to save to; nothing when the user cancels. `filter` is in Qt's form,
    // e.g. "ZYL-1 Template Files (*.zyl);;All Files (*)"; `suffix` is added to a typed name
    // without one.
    [[nodiscard]] virtual std::optional<QString> GetOpenFileName(QWidget* parent, const QString& title,
                                                                 const QString& filter, const QString& suffix) = 0;
    [[nodiscard]] virtual std::optional<QString> GetSaveFileName(QWidget* parent, const QString& title,
                                                                 const QString& filter, const QString& suffix) = 0;
};
