#include "editors/CScrollDialog.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

CScrollDialog::CScrollDialog(QWidget* parent) : QDialog(parent), scrollArea(new QScrollArea(this)) {
    scrollArea->setObjectName("scrollArea");
    scrollArea->setWidgetResizable(true);
    // Tab goes from field to field; the area itself is no stop of its own.
    scrollArea->setFocusPolicy(Qt::NoFocus);
    setSizeGripEnabled(true);
    // Tab already scrolls a scroll area to the new focus; mnemonics, clicks and back-tabbing
    // from the buttons must as well.
    connect(qApp, &QApplication::focusChanged, this, &CScrollDialog::keepFocusVisible);
}

// ~QDialog hides the window, which moves the focus: the slot must be gone before this part of
// the object is, or it runs on a half-destroyed dialog.
CScrollDialog::~CScrollDialog() {
    disconnect(qApp, &QApplication::focusChanged, this, &CScrollDialog::keepFocusVisible);
}

QSize CScrollDialog::FittedSize(QSize designed, QSize available, int scrollBar) {
    const int height = std::min(designed.height(), available.height() - kFrameAllowance.height());
    int width = designed.width();
    if (height < designed.height())
        width += scrollBar;
    width = std::min(width, available.width() - kFrameAllowance.width());
    return {std::max(width, 0), std::max(height, 0)};
}

void CScrollDialog::SetContents(QWidget* form, QWidget* buttons) {
    scrollArea->setWidget(form);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollArea, 1);
    layout->addWidget(buttons);

    // The scroll area's own size hint stops well short of a tall form, so the designed size is
    // the form's plus everything around it.
    const QMargins margins = layout->contentsMargins();
    const int frame = 2 * scrollArea->frameWidth();
    const QSize formSize = form->sizeHint();
    const QSize buttonsSize = buttons->sizeHint();
    designedSize =
        QSize(std::max(formSize.width() + frame, buttonsSize.width()) + margins.left() + margins.right(),
              formSize.height() + frame + layout->spacing() + buttonsSize.height() + margins.top() + margins.bottom());

    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollArea->verticalScrollBar());
    const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    resize(where != nullptr ? FittedSize(designedSize, where->availableGeometry().size(), scrollBar) : designedSize);
}

void CScrollDialog::keepFocusVisible(QWidget*, QWidget* now) {
    QWidget* form = scrollArea->widget();
    if (now != nullptr && form != nullptr && form->isAncestorOf(now))
        scrollArea->ensureWidgetVisible(now);
}
