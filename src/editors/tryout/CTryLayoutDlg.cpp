#include "editors/tryout/CTryLayoutDlg.h"

#include "editors/DialogParts.h"
#include "editors/canvas/CanvasZoom.h"
#include "editors/tryout/PanelScreenView.h"
#include "editors/tryout/TryRules.h"
#include "panel/PanelModel.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <chrono>

namespace {

// Often enough for a tenth of a second to show, seldom enough to cost nothing.
constexpr int kTickMs = 100;

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

CTryLayoutDlg::CTryLayoutDlg(const TLayout& layout, QWidget* parent, Clock clock_)
    : QDialog(parent), model(std::make_unique<PanelModel>(layout)), clock(clock_ ? std::move(clock_) : steadyMs) {
    setWindowTitle("Try Layout");
    setObjectName("tryLayout");
    setModal(false);
    model->Restart();

    screen = new PanelScreenView(*model, this);
    zoomBox = new QComboBox(this);
    zoomBox->setObjectName("zoom");
    for (int zoom = kMinZoom; zoom <= kMaxZoom; ++zoom)
        zoomBox->addItem(QString("%1x").arg(zoom), zoom);
    auto* zoomLabel = new QLabel("&Zoom:", this);
    zoomLabel->setBuddy(zoomBox);
    zoomBox->setAccessibleName("Zoom:");

    pageLabel = new QLabel(this);
    pageLabel->setObjectName("page");
    timeLabel = new QLabel(this);
    timeLabel->setObjectName("time");

    restartButton = MakeButton(this, "&Restart", "restartButton");
    tenSecondsButton = MakeButton(this, "+1&0 s", "tenSecondsButton");
    minuteButton = MakeButton(this, "+1 &min", "minuteButton");
    nextTimeoutButton = MakeButton(this, "&Next Timeout", "nextTimeoutButton");
    closeButton = MakeButton(this, "Close", "closeButton");
    // Enter is no reason to restart the panel or let time pass.
    for (QPushButton* button : {restartButton, tenSecondsButton, minuteButton, nextTimeoutButton, closeButton})
        button->setAutoDefault(false);

    outputList = new QListWidget(this);
    outputList->setObjectName("sent");
    outputList->setMinimumHeight(140);
    auto* sentLabel = new QLabel("&Sent by the panel:", this);
    sentLabel->setBuddy(outputList);
    outputList->setAccessibleName("Sent by the panel:");

    auto* column = new QVBoxLayout;
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoomLabel);
    zoomRow->addWidget(zoomBox, 1);
    column->addLayout(zoomRow);
    column->addSpacing(8);
    column->addWidget(restartButton);
    column->addSpacing(8);
    column->addWidget(timeLabel);
    for (QPushButton* button : {tenSecondsButton, minuteButton, nextTimeoutButton})
        column->addWidget(button);
    column->addStretch(1);
    column->addWidget(closeButton);

    auto* top = new QHBoxLayout;
    top->addWidget(screen, 0, Qt::AlignTop);
    top->addLayout(column);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top);
    whole->addWidget(pageLabel);
    whole->addWidget(sentLabel);
    whole->addWidget(outputList, 1);
    SetTabChain(std::array<QWidget*, 8>{screen, zoomBox, restartButton, tenSecondsButton, minuteButton,
                                        nextTimeoutButton, closeButton, outputList});

    ticker = new QTimer(this);
    ticker->setInterval(kTickMs);
    connect(ticker, &QTimer::timeout, this, &CTryLayoutDlg::OnTick);
    connect(screen, &PanelScreenView::touched, this, &CTryLayoutDlg::ShowModel);
    connect(zoomBox, &QComboBox::currentIndexChanged, this,
            [this] { screen->SetZoom(zoomBox->currentData().toInt()); });
    connect(restartButton, &QPushButton::clicked, this, &CTryLayoutDlg::OnRestart);
    connect(tenSecondsButton, &QPushButton::clicked, this, [this] { OnAdvance(10'000); });
    connect(minuteButton, &QPushButton::clicked, this, [this] { OnAdvance(60'000); });
    connect(nextTimeoutButton, &QPushButton::clicked, this, &CTryLayoutDlg::OnNextTimeout);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    // The canvas's zoom keys, here too.
    const auto zoomKey = [this](const QKeySequence& keys, int step) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, step] {
            zoomBox->setCurrentIndex(std::clamp(zoomBox->currentIndex() + step, 0, zoomBox->count() - 1));
        });
    };
    zoomKey(QKeySequence::ZoomIn, 1);
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_Equal), 1);
    zoomKey(QKeySequence::ZoomOut, -1);

    zoomBox->setCurrentIndex(1);
    ShowModel();
}

CTryLayoutDlg::~CTryLayoutDlg() = default;

void CTryLayoutDlg::LayoutChanged() {
    model->LayoutChanged();
    ShowModel();
}

void CTryLayoutDlg::OnRestart() {
    model->Restart();
    ShowModel();
}

void CTryLayoutDlg::OnAdvance(std::int64_t milliseconds) {
    model->Advance(milliseconds);
    ShowModel();
}

void CTryLayoutDlg::OnNextTimeout() {
    if (const auto due = model->NextTimeoutMs())
        OnAdvance(*due);
}

void CTryLayoutDlg::OnTick() {
    const std::int64_t now = clock();
    const std::int64_t passed = now - lastTick;
    lastTick = now;
    // A modal dialog may be editing the layout, which the model is told of only once it closes;
    // until then the panel stands still.
    if (QApplication::activeModalWidget() != nullptr)
        return;
    if (passed > 0)
        OnAdvance(passed);
}

void CTryLayoutDlg::showEvent(QShowEvent* event) {
    // Time hidden is time the panel was off the desk: it does not pass.
    lastTick = clock();
    ticker->start();
    QDialog::showEvent(event);
}

void CTryLayoutDlg::hideEvent(QHideEvent* event) {
    ticker->stop();
    QDialog::hideEvent(event);
}

void CTryLayoutDlg::ShowModel() {
    screen->Refresh();
    pageLabel->setText(text(ShownPageText(*model)));
    timeLabel->setText("Time: " + text(ClockText(model->NowMs())));
    nextTimeoutButton->setEnabled(model->NextTimeoutMs().has_value());

    // The outputs only grow until a restart, which starts them anew.
    const auto& outputs = model->Outputs();
    const int shown = outputList->count();
    const bool continues = static_cast<int>(outputs.size()) >= shown &&
                           (shown == 0 || outputList->item(shown - 1)->text() == text(ListLine(outputs[shown - 1])));
    if (!continues)
        outputList->clear();
    const bool grew = static_cast<int>(outputs.size()) > outputList->count();
    for (auto i = static_cast<std::size_t>(outputList->count()); i < outputs.size(); ++i)
        outputList->addItem(text(ListLine(outputs[i])));
    if (grew)
        outputList->scrollToBottom();
}
