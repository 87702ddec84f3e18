#include "editors/colour/CColorButton.h"

#include "editors/colour/CColourPopup.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <qdrawutil.h>

#include <algorithm>

namespace {

constexpr int kArrowWidth = 4;
constexpr int kArrowHeight = 2;
// Width of the colour box in the size hint.
constexpr int kBoxWidth = 36;

std::uint32_t fromQColor(const QColor& color) {
    return Rgb(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
               static_cast<std::uint8_t>(color.blue()));
}

} // namespace

CColorButton::CColorButton(UiHost& ui_, QWidget* parent) : QPushButton(parent), ui(ui_) {
    // Qt paints its own workspace (the MDI area) with the palette's dark brush.
    defaultColor = fromQColor(QApplication::palette().color(QPalette::Dark));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QPushButton::clicked, this, &CColorButton::OnClicked);
}

std::uint32_t CColorButton::ShownColor() const {
    return color == kAutomaticColor ? defaultColor : color;
}

CColourPopup* CColorButton::Popup() const {
    return popup;
}

QSize CColorButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const int edge = std::max(1, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
    const QSize contents(kBoxWidth + 4 * edge + 2 + kArrowWidth, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, this);
}

QSize CColorButton::minimumSizeHint() const {
    return sizeHint();
}

void CColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    const bool sunken = popupActive || isDown();
    if (sunken) {
        option.state |= QStyle::State_Sunken;
        option.state &= ~QStyle::State_Raised;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

    const int edge = std::max(1, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
    QRect draw = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (sunken)
        draw.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));

    // The arrow, 4 by 2, at the right.
    const int arrowRight = draw.left() + draw.width() - edge / 2;
    const int arrowLeft = arrowRight - kArrowWidth;
    const int arrowTop = draw.top() + (draw.height() - kArrowHeight) / 2;
    const QColor arrowColor = isEnabled() ? QColor(Qt::black) : palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < kArrowHeight; ++row)
        painter.fillRect(arrowLeft + row, arrowTop + row, kArrowWidth - 2 * row, 1, arrowColor);

    // The etched edge between the arrow and the colour.
    const int separator = arrowLeft - edge - 2;
    qDrawShadeLine(&painter, QPoint(separator, draw.top()), QPoint(separator, draw.bottom()), palette(), true, 1, 0);

    if (!isEnabled())
        return;
    const QRect box(QPoint(draw.left() + edge, draw.top() + edge), QPoint(separator - edge - 1, draw.bottom() - edge));
    if (box.width() <= 2 || box.height() <= 2)
        return;
    painter.fillRect(box, ToQColor(ShownColor()));
    qDrawPlainRect(&painter, box, Qt::black);
}

void CColorButton::OnClicked() {
    popupActive = true;
    const QPoint bottomLeft = mapToGlobal(QPoint(0, height()));
    popup = new CColourPopup(bottomLeft, color, *this, defaultText, customText, ui);
    connect(popup, &CColourPopup::selectionChanged, this, &CColorButton::OnSelChange);
    connect(popup, &CColourPopup::selectionAccepted, this, &CColorButton::OnSelEndOK);
    connect(popup, &CColourPopup::selectionCancelled, this, &CColorButton::OnSelEndCancel);
    popup->show();
    update();
    emit colorDropDown(color, this);
}

void CColorButton::OnSelChange(std::uint32_t c) {
    if (trackSelection) {
        color = c;
        repaint();
    }
    emit colorChanged(c, this);
}

void CColorButton::OnSelEndOK(std::uint32_t c) {
    const std::uint32_t old = color;
    popupActive = false;
    color = c;
    repaint();
    emit colorCloseUp(c, this);
    emit colorAccepted(c, this);
    if (c != old)
        emit colorChanged(c, this);
}

void CColorButton::OnSelEndCancel(std::uint32_t c) {
    popupActive = false;
    color = c;
    repaint();
    emit colorCloseUp(c, this);
    emit colorCancelled(c, this);
}
