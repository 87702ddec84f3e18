#pragma once

#include "link/TransferObserver.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window every transfer shows: what is happening, a 0..1000 bar and a Cancel button
// that works while the transfer runs, because the transfer lets the window handle its events.
class CFirmwareUpgrade : public QDialog, public TransferObserver {
    Q_OBJECT
public:
    explicit CFirmwareUpgrade(QWidget* parent, bool readingMode = false);

    // TransferObserver
    void progress(int permille) override;
    void keepAlive() override;
    [[nodiscard]] bool cancelled() override { return cancelRequested; }

    // Escape and the close box ask to cancel, like the button.
    void reject() override;

    bool readingMode;
    QLabel* text;
    QProgressBar* progressBar;
    QPushButton* cancelButton;

private:
    bool cancelRequested = false;
};
