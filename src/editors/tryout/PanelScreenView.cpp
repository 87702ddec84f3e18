#include "editors/tryout/PanelScreenView.h"

#include "editors/canvas/CanvasZoom.h"
#include "panel/PanelModel.h"
#include "render/PageDrawing.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

PanelScreenView::PanelScreenView(PanelModel& model_, QWidget* parent)
    : QWidget(parent), model(model_), screen(kScreenWidth, kScreenHeight) {
    setObjectName("panelScreen");
    setAccessibleName("Panel Screen");
    setFocusPolicy(Qt::StrongFocus);
    SetZoom(kMinZoom);
    model.Draw(screen);
}

void PanelScreenView::SetZoom(int newZoom) {
    zoom = ClampZoom(newZoom);
    setFixedSize(kScreenWidth * zoom + 2 * kMargin, kScreenHeight * zoom + 2 * kMargin);
    update();
}

void PanelScreenView::Refresh() {
    Surface drawn(kScreenWidth, kScreenHeight);
    model.Draw(drawn);
    if (drawn == screen)
        return;
    screen = std::move(drawn);
    update();
}

void PanelScreenView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Wrapped, not copied; a whole-number enlargement without smoothing repeats every pixel.
    const QImage image(reinterpret_cast<const uchar*>(screen.Data()), screen.Width(), screen.Height(), screen.Stride(),
                       QImage::Format_RGB32);
    painter.drawImage(QRect(kMargin, kMargin, kScreenWidth * zoom, kScreenHeight * zoom), image);
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

QPoint PanelScreenView::pagePixel(QPointF widgetPosition) const {
    // A finger dragged off the glass stays on its edge.
    const QPoint at = PagePixelAt(widgetPosition - QPointF(kMargin, kMargin), zoom);
    return {std::clamp(at.x(), 0, kScreenWidth - 1), std::clamp(at.y(), 0, kScreenHeight - 1)};
}

void PanelScreenView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || fingerDown)
        return QWidget::mousePressEvent(event);
    const QRect glass(kMargin, kMargin, kScreenWidth * zoom, kScreenHeight * zoom);
    if (!glass.contains(event->position().toPoint()))
        return;
    fingerDown = true;
    const QPoint at = pagePixel(event->position());
    model.Down(at.x(), at.y());
    Refresh();
    emit touched();
}

void PanelScreenView::mouseMoveEvent(QMouseEvent* event) {
    if (!fingerDown)
        return QWidget::mouseMoveEvent(event);
    const QPoint at = pagePixel(event->position());
    model.Move(at.x(), at.y());
    Refresh();
    emit touched();
}

void PanelScreenView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !fingerDown)
        return QWidget::mouseReleaseEvent(event);
    fingerDown = false;
    model.Up();
    Refresh();
    emit touched();
}
