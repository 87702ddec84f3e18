#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>

class PanelModel;
class PanelScreenView;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class TLayout;

// "Try Layout": the layout being edited on a panel of our own, touched with the mouse. It shows
// the screen, which page is on it and everything the panel sent, and lets time pass by the clock
// or in steps, so the sleep and the return to the default page can be seen without waiting.
class CTryLayoutDlg : public QDialog {
    Q_OBJECT
public:
    // Milliseconds of some steady clock; only differences count.
    using Clock = std::function<std::int64_t()>;

    // The clock defaults to the machine's; tests pass their own.
    explicit CTryLayoutDlg(const TLayout& layout, QWidget* parent = nullptr, Clock clock = {});
    ~CTryLayoutDlg() override;

    PanelModel& Model() { return *model; }
    // The layout was edited: the model keeps what still exists, and the window shows it.
    void LayoutChanged();
    void OnRestart();
    void OnAdvance(std::int64_t milliseconds);
    void OnNextTimeout();
    // The clock's tick: the model catches up with the time that passed since the last one.
    void OnTick();

    PanelScreenView* screen;
    QComboBox* zoomBox;
    QLabel* pageLabel;
    QLabel* timeLabel;
    QListWidget* outputList;
    QPushButton* restartButton;
    QPushButton* tenSecondsButton;
    QPushButton* minuteButton;
    QPushButton* nextTimeoutButton;
    QPushButton* closeButton;
    QTimer* ticker;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Screen, page, time, list and the timeout button as the model now stands.
    void ShowModel();

    std::unique_ptr<PanelModel> model;
    Clock clock;
    std::int64_t lastTick = 0;
};
