#pragma once

#include <QDialog>

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

    UiHost& ui;
};
