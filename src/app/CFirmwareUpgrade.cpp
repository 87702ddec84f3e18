#include "CFirmwareUpgrade.h"

#include "link/SteadyLinkClock.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

CFirmwareUpgrade::CFirmwareUpgrade(QWidget* parent, bool readingMode_, Clock clock_)
    : QDialog(parent), readingMode(readingMode_), text(new QLabel(this)), progressBar(new QProgressBar(this)),
      timeLeft(new QLabel(this)), cancelButton(new QPushButton(tr("Cancel"), this)), clock(std::move(clock_)) {
    if (!clock)
        clock = [] { return SteadyLinkClock().NowMs(); };
    setWindowTitle(tr("Progress"));
    setObjectName("progressWindow");
    // While the transfer runs it lets this window handle events; the main window must stay out.
    setWindowModality(Qt::ApplicationModal);

    text->setText(readingMode ? "Reading Data From The Control" : "Writing Data to the Control");
    text->setObjectName("text");
    progressBar->setObjectName("progressBar");
    progressBar->setRange(0, 1000);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    progressBar->setAccessibleName(text->text());
    progressBar->setMinimumWidth(280);
    timeLeft->setObjectName("timeLeft");
    ShowTimeLeft({});
    // The line is there from the start, so the window does not grow when the estimate comes.
    timeLeft->setMinimumHeight(timeLeft->fontMetrics().height());
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAccessibleName("Cancel");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(progressBar);
    layout->addWidget(timeLeft);
    layout->addWidget(cancelButton, 0, Qt::AlignHCenter);
    connect(cancelButton, &QPushButton::clicked, this, &CFirmwareUpgrade::reject);
}

void CFirmwareUpgrade::progress(int permille) {
    progressBar->setValue(std::clamp(permille, 0, 1000));
    progressBar->repaint();
    if (cancelRequested)
        return;
    estimate.Update(permille, clock());
    const QString shown = QString::fromStdString(estimate.Text());
    if (shown == timeLeft->text())
        return;
    ShowTimeLeft(shown);
    timeLeft->repaint();
}

void CFirmwareUpgrade::ShowTimeLeft(const QString& shown) {
    timeLeft->setText(shown);
    timeLeft->setAccessibleName(shown.isEmpty() ? "Time left" : shown);
}

void CFirmwareUpgrade::keepAlive() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void CFirmwareUpgrade::reject() {
    if (cancelRequested)
        return;
    cancelRequested = true;
    cancelButton->setEnabled(false);
    text->setText(tr("Cancelling..."));
    ShowTimeLeft({});
}
