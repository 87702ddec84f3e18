#include "CFirmwareUpgrade.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

CFirmwareUpgrade::CFirmwareUpgrade(QWidget* parent, bool readingMode_)
    : QDialog(parent), readingMode(readingMode_), text(new QLabel(this)), progressBar(new QProgressBar(this)),
      cancelButton(new QPushButton(tr("Cancel"), this)) {
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
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAccessibleName("Cancel");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(progressBar);
    layout->addWidget(cancelButton, 0, Qt::AlignHCenter);
    connect(cancelButton, &QPushButton::clicked, this, &CFirmwareUpgrade::reject);
}

void CFirmwareUpgrade::progress(int permille) {
    progressBar->setValue(std::clamp(permille, 0, 1000));
    progressBar->repaint();
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
}
