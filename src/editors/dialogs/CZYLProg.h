#pragma once

#include <QDialog>
#include <QUndoStack>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TLayout;
class TListItem;
class UiHost;
struct ProgSettings;

// "ZYL-1 Programming": the layout's global settings, its page list, the sleep page and template
// files. Page-list work, the sleep page and Load change the layout at once; the settings reach it
// only on OK.
class CZYLProg : public QDialog {
    Q_OBJECT
public:
    CZYLProg(TLayout& layout, UiHost& ui, QWidget* parent = nullptr);

    // Shows the layout's settings and rebuilds the page list from it.
    void FillFromLayout();

    void OnAdd();
    void OnRemove();
    void OnEdit();
    void OnMoveUp();
    void OnMoveDown();
    void OnSetDefault();
    void OnClearAll();
    void OnLoad();
    void OnSave();
    void OnEditSleepPage();
    void OnOK();
    // The page list's steps, undone and redone by Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y or from the
    // list's context menu.
    void OnPageListMenu(const QPoint& at);
    void Undo();
    void Redo();

    // The page of the selected entry, and its row; null and -1 when nothing is selected.
    TListItem* SelectedPage() const;
    int SelectedRow() const;

    TLayout& layout;

    QLineEdit* controlName;
    QCheckBox* autoBrightness;
    QLineEdit* manualBrightness;
    QCheckBox* audibleFeedback;
    QCheckBox* sleepEnabled;
    QLineEdit* sleepTimeout;
    QPushButton* editSleepPageButton;
    QCheckBox* pinOnWakeup;
    QLineEdit* timeoutPin;
    QLineEdit* securityPin;
    QCheckBox* defaultPageEnabled;
    QLineEdit* defaultPageTimeout;

    QListWidget* pageList;

    QPushButton* addButton;
    QPushButton* removeButton;
    QPushButton* editButton;
    QPushButton* setDefaultButton;
    QPushButton* moveUpButton;
    QPushButton* moveDownButton;
    QPushButton* clearAllButton;
    QPushButton* loadButton;
    QPushButton* saveButton;
    QPushButton* cancelButton;
    QPushButton* okButton;

    // Every change of the page list, Clear All and Load, for as long as the dialog lives.
    QUndoStack undoStack;

private:
    void ShowSettings(const ProgSettings& settings);
    // The controls' values in the exchange order; nothing after the first refusal, whose message
    // has been shown.
    [[nodiscard]] std::optional<ProgSettings> ReadSettings();
    void RebuildPageList();
    // Puts an entry for the page at the row, with its plain name, and selects it.
    void InsertEntry(int row, TListItem& page);
    TListItem* PageAt(int row) const;
    void Select(int row);
    void ClearSelection();
    // What rebuilds the list after a step was undone or redone, with the row selected (none for -1).
    std::function<void(int)> showPages();

    UiHost& ui;
};
