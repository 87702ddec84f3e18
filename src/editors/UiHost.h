#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class QDialog;
class QPoint;
class QWidget;

// One entry of a context menu: a command, or a submenu when `items` is not empty; an entry
// without text is a separator. A disabled entry is shown greyed and cannot be chosen.
struct MenuItem {
    QString text;
    int command = 0;
    std::vector<MenuItem> items;
    bool enabled = true;
};

// The one seam between the dialogs and the desktop: message boxes, questions, file choosers,
// popup menus, the colour dialog and nested modal dialogs. Whoever builds a window or dialog
// passes one in: the application its QtUiHost, tests a scripted one.
class UiHost {
public:
    virtual ~UiHost() = default;

    virtual void ShowMessage(QWidget* parent, const QString& title, const QString& text) = 0;
    // True for Yes.
    [[nodiscard]] virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A file to open or to save to; nothing when the user cancels. `filter` is in Qt's form,
    // e.g. "ZYL-1 Template Files (*.zyl);;All Files (*)"; `suffix` is added to a typed name
    // without one. Saving asks before it replaces an existing file.
    [[nodiscard]] virtual std::optional<QString> GetOpenFileName(QWidget* parent, const QString& title,
                                                                 const QString& filter, const QString& suffix) = 0;
    [[nodiscard]] virtual std::optional<QString> GetSaveFileName(QWidget* parent, const QString& title,
                                                                 const QString& filter, const QString& suffix) = 0;
    // A popup menu of `items` whose bottom edge sits at the global point `at`, centred on it
    // horizontally; the index of the chosen item, or nothing when the menu is dismissed.
    [[nodiscard]] virtual std::optional<int> ChooseFromMenu(QWidget* parent, const QStringList& items,
                                                            const QPoint& at) = 0;
    // A context menu, submenus included, whose left edge sits at the global point `at`, centred on
    // it vertically; the chosen item's command, or nothing when the menu is dismissed.
    [[nodiscard]] virtual std::optional<int> TrackPopupMenu(QWidget* parent, const std::vector<MenuItem>& items,
                                                            const QPoint& at) = 0;
    // The system colour dialog, fully opened, starting from `initial`; colours are 0x00BBGGRR.
    // Nothing when the user cancels.
    [[nodiscard]] virtual std::optional<std::uint32_t> GetColor(QWidget* parent, std::uint32_t initial) = 0;
    // Runs a nested dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int RunDialog(QDialog& dialog) = 0;
};
