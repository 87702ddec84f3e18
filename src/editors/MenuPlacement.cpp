#include "editors/MenuPlacement.h"

#include <QAbstractButton>
#include <QCursor>
#include <QEvent>

namespace {

constexpr const char* kByMouse = "pressedByMouse";

class PressOrigin : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            watched->setProperty(kByMouse, true);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
            watched->setProperty(kByMouse, false);
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void TrackPressOrigin(QAbstractButton& button) {
    button.installEventFilter(new PressOrigin(&button));
}

QPoint MenuPointFor(const QAbstractButton& button) {
    if (button.property(kByMouse).toBool())
        return QCursor::pos();
    return button.mapToGlobal(QPoint(button.width() / 2, 0));
}
