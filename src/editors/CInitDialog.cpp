#include "editors/CInitDialog.h"

#include <QShowEvent>

void CInitDialog::showEvent(QShowEvent* event) {
    // A window manager's show after a minimise is spontaneous: the controls keep what was typed.
    if (!event->spontaneous() && !opened) {
        opened = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CInitDialog::hideEvent(QHideEvent* event) {
    if (!event->spontaneous())
        opened = false;
    QDialog::hideEvent(event);
}
