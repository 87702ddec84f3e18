#pragma once

#include "link/TimeLeftEstimate.h"
#include "link/TransferObserver.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window every transfer shows: what is happening, a 0..1000 bar, the time left and a
// Cancel button that works while the transfer runs, because the transfer lets the window handle
// its events.
class CFirmwareUpgrade : public QDialog, public TransferObserver {
    Q_OBJECT
public:
    using Clock = std::function<std::uint32_t()>;

    // The clock (a millisecond tick) times the estimate; it defaults to the machine's steady clock.
    explicit CFirmwareUpgrade(QWidget* parent, bool readingMode = false, Clock clock = {});

    // TransferObserver
    void progress(int permille) override;
    void keepAlive() override;
    [[nodiscard]] bool cancelled() override { return cancelRequested; }

    // Escape and the close box ask to cancel, like the button.
    void reject() override;

    bool readingMode;
    QLabel* text;
    QProgressBar* progressBar;
    // Empty until the rate is measured.
    QLabel* timeLeft;
    QPushButton* cancelButton;

private:
    void ShowTimeLeft(const QString& shown);

    bool cancelRequested = false;
    Clock clock;
    TimeLeftEstimate estimate;
};
