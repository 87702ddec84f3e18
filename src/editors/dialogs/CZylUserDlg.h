#pragma once

#include <QDialog>

#include <string>

class CZylWnd;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TLayout;
class TUserPage;
class UiHost;

// "ZYL-1 User Defined Page": a user page's name, its ID, and on the canvas its background and
// objects; it also saves the page to a page file and loads one into it. It works on the page
// itself: the canvas, "Set" and a load change the page at once, only the name waits for OK.
class CZylUserDlg : public QDialog {
    Q_OBJECT
public:
    // `sleepPage` says the page is the layout's sleep page, which takes only images.
    CZylUserDlg(TLayout& layout, TUserPage& page, UiHost& ui, bool sleepPage, QWidget* parent = nullptr);

    void OnOkClicked();
    void OnSetPageId();
    void OnLoadPage();
    void OnSavePage();
    // After a step was done, undone or redone: the fields show the page's ID, and its name when a
    // step changed that.
    void ShowPageFields();

    TLayout& layout;
    TUserPage& page;
    UiHost& ui;
    const bool isSleepPage;

    QLineEdit* pageName;
    QLineEdit* pageId;
    QPushButton* setButton;
    QFrame* canvasFrame;
    CZylWnd* canvas;
    // Under the canvas: where the pointer and the selection are, in page pixels.
    QLabel* statusLine;
    QPushButton* loadButton;
    QPushButton* saveButton;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    // The page's name as the fields last showed it from the page.
    std::u16string shownName;
};
