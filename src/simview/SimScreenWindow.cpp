#include "simview/SimScreenWindow.h"

#include "editors/tryout/PanelScreenView.h"
#include "panel/OutputLine.h"
#include "panel/PanelModel.h"

#include <QEvent>
#include <QVBoxLayout>

#include <ostream>

SimScreenWindow::SimScreenWindow(std::ostream& out_, std::ostream& err_, QWidget* parent)
    : QWidget(parent), out(out_), err(err_), model(std::make_unique<PanelModel>(layout)),
      screen(new PanelScreenView(*model, this)) {
    setWindowTitle("ZYL-1 simulator");
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSizeConstraint(QLayout::SetFixedSize);
    box->addWidget(screen);
    screen->SetZoom(2);
    // Time is brought up to now before the finger reaches the model, so a touch starts the idle
    // timers at the moment it happens.
    screen->installEventFilter(this);
    connect(screen, &PanelScreenView::touched, this, &SimScreenWindow::showModel);
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    connect(&timeout, &QTimer::timeout, this, [this] {
        catchUp();
        showModel();
    });
    clock.start();
}

SimScreenWindow::~SimScreenWindow() = default;

void SimScreenWindow::LayoutStored(const std::vector<std::uint8_t>& image) {
    std::string error;
    if (!layout.Decode(image, &error)) {
        err << "zyl-panel-sim: the stored layout cannot be shown, so the screen keeps the last one: " << error
            << std::endl;
        return;
    }
    model->Restart();
    printed = 0;
    clock.restart();
    showModel();
}

bool SimScreenWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        catchUp();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void SimScreenWindow::catchUp() {
    const std::int64_t behind = clock.elapsed() - model->NowMs();
    if (behind > 0)
        model->Advance(behind);
}

void SimScreenWindow::showModel() {
    screen->Refresh();
    const auto& outputs = model->Outputs();
    for (; printed < outputs.size(); ++printed)
        out << OutputLine(outputs[printed]) << '\n';
    out.flush();
    if (const auto next = model->NextTimeoutMs())
        timeout.start(static_cast<int>(std::min<std::int64_t>(*next, 1 << 30)));
    else
        timeout.stop();
}
