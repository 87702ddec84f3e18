#include "editors/colour/CColourPopup.h"

#include "editors/UiHost.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/ColourPopupAccessible.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>

CColourPopup::CColourPopup(QPoint bottomLeft, std::uint32_t color, CColorButton& owner, const QString& defaultText_,
                           const QString& customText_, UiHost& ui_)
    : QWidget(&owner, Qt::Popup), initialColor(color), currentColor(color), ownerButton(&owner),
      defaultText(defaultText_), customText(customText_), ui(ui_) {
    InstallColourPopupAccessibility();
    setObjectName("colourPopup");
    // A screen reader names the popup after the button that opened it.
    setAccessibleName(owner.accessibleName());
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFont(QApplication::font("QMessageBox"));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    margin = std::max(1, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
    boxSize = PopupBoxSize(margin);
    const QFontMetrics metrics(font());
    QSize textSize;
    for (const QString& text : {defaultText, customText})
        if (!text.isEmpty())
            textSize = textSize.expandedTo(metrics.size(Qt::TextSingleLine, text));
    popupGeometry = ComputePopupGeometry(margin, boxSize, textSize, !defaultText.isEmpty(), !customText.isEmpty());

    QScreen* screen = QGuiApplication::screenAt(bottomLeft);
    if (screen == nullptr)
        screen = owner.screen();
    const int buttonTop = owner.mapToGlobal(QPoint(0, 0)).y();
    setGeometry(PlacePopup(QRect(bottomLeft, popupGeometry.windowSize), screen->geometry(), buttonTop));
    setFixedSize(popupGeometry.windowSize);

    chosen = ChosenIndex(color, !defaultText.isEmpty(), !customText.isEmpty());

    // Switching to another application ends the choice as a cancellation.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            EndSelection(false);
    });
}

void CColourPopup::ChangeSelection(int index) {
    if (index == selected || index == kNoIndex)
        return;
    selected = index;
    if (index != kCustomIndex)
        currentColor = SelectionColour(index, initialColor);
    update();
    ColourSelectionChanged(*this);
    emit selectionChanged(SelectionColour(index, initialColor));
}

void CColourPopup::EndSelection(bool accepted) {
    // While the colour dialog is up, that dialog decides; nothing else ends the choice.
    if (ended || colorDialogOpen)
        return;
    QPointer<CColourPopup> self(this);
    if (accepted && selected == kCustomIndex) {
        colorDialogOpen = true;
        // Hidden, the popup gives up the mouse and keyboard to the dialog.
        hide();
        const std::optional<std::uint32_t> picked = ui.GetColor(ownerButton->window(), initialColor);
        if (!self)
            return;
        colorDialogOpen = false;
        if (picked)
            currentColor = *picked;
        else
            accepted = false;
    }
    ended = true;
    if (accepted) {
        emit selectionAccepted(currentColor);
    } else {
        currentColor = initialColor;
        emit selectionCancelled(initialColor);
    }
    if (self)
        close();
}

QString CColourPopup::ToolTipAt(QPoint point) const {
    const int index = HitTest(popupGeometry, point);
    if (index < 0)
        return {};
    return QString::fromLatin1(colourTable[static_cast<std::size_t>(index)].name);
}

bool CColourPopup::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this,
                               CellRect(popupGeometry, HitTest(popupGeometry, help->pos())));
        return true;
    }
    return QWidget::event(event);
}

void CColourPopup::drawEntry(QPainter& painter, int index, const QRect& rect) const {
    const QPalette& pal = palette();
    const bool isSelected = index == selected;
    const bool isChosen = index == chosen;
    painter.fillRect(rect, isChosen && !isSelected ? pal.light() : pal.button());
    if (isSelected)
        qDrawShadePanel(&painter, rect, pal, false, 1);
    else if (isChosen)
        qDrawShadePanel(&painter, rect, pal, true, 1);
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const int m = margin;
    painter.setPen(pal.color(QPalette::ButtonText));

    for (int i = 0; i < kColourCount; ++i) {
        const QRect cell = CellRect(popupGeometry, i);
        drawEntry(painter, i, cell);
        const QRect swatch = cell.adjusted(m + 1, m + 1, -(m + 1), -(m + 1));
        painter.fillRect(swatch, ToQColor(colourTable[static_cast<std::size_t>(i)].color));
        qDrawPlainRect(&painter, swatch, pal.color(QPalette::Dark));
    }

    if (!defaultText.isEmpty()) {
        const QRect& box = popupGeometry.defaultTextRect;
        drawEntry(painter, kAutomaticIndex, box);
        qDrawPlainRect(&painter, box.adjusted(2 * m, 2 * m, -2 * m, -2 * m), pal.color(QPalette::Dark));
        painter.setPen(pal.color(QPalette::ButtonText));
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, defaultText);
    }
    if (!customText.isEmpty()) {
        const QRect& box = popupGeometry.customTextRect;
        const int lineY = box.top() - m;
        qDrawShadeLine(&painter, QPoint(box.left(), lineY), QPoint(box.right(), lineY), pal, true, 1, 0);
        drawEntry(painter, kCustomIndex, box);
        painter.setPen(pal.color(QPalette::ButtonText));
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, customText);
    }
    qDrawWinPanel(&painter, rect(), pal, false);
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
    const int index = HitTest(popupGeometry, event->position().toPoint());
    if (index != kNoIndex)
        ChangeSelection(index);
}

void CColourPopup::mousePressEvent(QMouseEvent* event) {
    // A popup closes on a press outside by default; here only the release decides.
    event->accept();
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    EndSelection(rect().contains(event->position().toPoint()));
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
    const bool hasAutomatic = !defaultText.isEmpty();
    const bool hasCustom = !customText.isEmpty();
    auto move = [&](ArrowKey key) { ChangeSelection(NextSelection(selected, key, hasAutomatic, hasCustom, chosen)); };
    switch (event->key()) {
    case Qt::Key_Left:
        move(ArrowKey::Left);
        break;
    case Qt::Key_Up:
        move(ArrowKey::Up);
        break;
    case Qt::Key_Right:
        move(ArrowKey::Right);
        break;
    case Qt::Key_Down:
        move(ArrowKey::Down);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        EndSelection(true);
        break;
    case Qt::Key_Escape:
        EndSelection(false);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CColourPopup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ColourPopupShown(*this, true);
}

void CColourPopup::hideEvent(QHideEvent* event) {
    ColourPopupShown(*this, false);
    QWidget::hideEvent(event);
}

void CColourPopup::closeEvent(QCloseEvent* event) {
    if (colorDialogOpen) {
        event->ignore();
        return;
    }
    // Closed from outside (the toolkit closes popups too): the choice is cancelled.
    EndSelection(false);
    QWidget::closeEvent(event);
}
