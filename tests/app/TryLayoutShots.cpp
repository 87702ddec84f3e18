#include "TryLayoutShots.h"

#include "editors/tryout/CTryLayoutDlg.h"
#include "editors/tryout/PanelScreenView.h"
#include "layout/TLayout.h"
#include "panel/PanelModel.h"
#include "sim/DemoLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// The mouse at a page pixel of the screen, as the user moves it.
void touch(PanelScreenView& screen, QEvent::Type type, int x, int y) {
    const int zoom = screen.Zoom();
    const QPoint at(PanelScreenView::kMargin + x * zoom + zoom / 2, PanelScreenView::kMargin + y * zoom + zoom / 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, screen.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&screen, &event);
}

} // namespace

void TryLayoutShots(const std::function<void(QWidget&, const QString& name)>& save) {
    TLayout layout;
    MakeDemoLayout(layout);
    // A clock that stands still, so only the buttons let time pass.
    CTryLayoutDlg dlg(layout, nullptr, [] { return std::int64_t{0}; });
    dlg.zoomBox->setCurrentIndex(1);
    save(dlg, "try-layout-page");

    // "On" held down.
    touch(*dlg.screen, QEvent::MouseButtonPress, 100, 32);
    save(dlg, "try-layout-pressed");
    touch(*dlg.screen, QEvent::MouseButtonRelease, 100, 32);

    // The living room's "Security" tab asks for its PIN; "2" and "4" typed.
    for (const QPoint key : {QPoint(160, 217), QPoint(246, 32), QPoint(194, 79)}) {
        touch(*dlg.screen, QEvent::MouseButtonPress, key.x(), key.y());
        touch(*dlg.screen, QEvent::MouseButtonRelease, key.x(), key.y());
    }
    save(dlg, "try-layout-pin");

    dlg.restartButton->click();
    for (int step = 0; step < 3 && !dlg.Model().Asleep(); ++step)
        dlg.nextTimeoutButton->click();
    save(dlg, "try-layout-sleep");
}
