#include "editors/dialogs/ObjectProperties.h"

#include "editors/SlotText.h"
#include "editors/UiHost.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CHotspotDlg.h"
#include "editors/dialogs/CSliderPropDlg.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <cmath>
#include <limits>
#include <span>

namespace {

std::u16string slotText(std::span<const std::uint8_t> slot) {
    return LoadSlotText(slot).toStdU16String();
}

void storeEvent(const std::u16string& text, std::span<std::uint8_t> slot) {
    StoreSlotText(QString::fromStdU16String(text), slot, ObjectProperties::kEventSlotBytes);
}

} // namespace

std::int32_t WholeHoldTime(double hold) {
    if (std::isnan(hold))
        return 0;
    const double whole = std::trunc(hold);
    if (whole <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (whole >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(whole);
}

namespace {

void FillButtonDialog(CButtonAddDlg& dialog, const TUserButton& button) {
    dialog.upFace.CopyFrom(button.upFace);
    dialog.downFace.CopyFrom(button.downFace);
    dialog.toggle = button.toggle;
    dialog.width = button.width;
    dialog.height = button.height;
    dialog.downEvent = slotText(button.downEvent);
    dialog.upEvent = slotText(button.upEvent);
    dialog.entryPageId = button.entryPageId;
    dialog.holdTime = button.holdTime;
    if (button.selectorId >= 0) {
        dialog.isSelector = true;
        dialog.selectorId = button.selectorId;
    }
}

void TakeButtonDialog(const CButtonAddDlg& dialog, TUserButton& button) {
    button.upFace.CopyFrom(dialog.upFace);
    button.downFace.CopyFrom(dialog.downFace);
    button.entryPageId = dialog.entryPageId;
    button.holdTime = WholeHoldTime(dialog.holdTime);
    button.width = dialog.width;
    button.height = dialog.height;
    storeEvent(dialog.downEvent, button.downEvent);
    storeEvent(dialog.upEvent, button.upEvent);
    // A selector button always toggles: it stays down until another of its group is pressed.
    if (dialog.isSelector)
        button.selectorId = dialog.selectorId;
    button.toggle = dialog.isSelector || dialog.toggle;
}

} // namespace

ObjectProperties::ObjectProperties(TUserPage& page_, UiHost& ui_, QWidget* parent_)
    : page(page_), ui(ui_), parent(parent_) {}

// An object of a kind this program does not know has nothing to edit.
void ObjectProperties::Visit(TUserObject&) {}

void ObjectProperties::Visit(TUserButton& button) {
    CButtonAddDlg dialog(page.owner, ui, parent);
    FillButtonDialog(dialog, button);
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return;
    TakeButtonDialog(dialog, button);
    accepted = true;
}

void ObjectProperties::Visit(TUserLevel& level) {
    CSliderPropDlg dialog(page.owner, ui, parent);
    dialog.width = level.width;
    dialog.height = level.height;
    dialog.controlId = level.controlId;
    dialog.sliderImageId = level.sliderImageId;
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return;
    level.controlId = dialog.controlId;
    level.sliderImageId = dialog.sliderImageId;
    accepted = selects = true;
}

void ObjectProperties::Visit(TUserImage& image) {
    CZylFaceDlg dialog(page.owner, ui, parent);
    dialog.face.CopyFrom(image.face);
    dialog.width = image.width;
    dialog.height = image.height;
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return;
    image.face.CopyFrom(dialog.face);
    image.width = dialog.width;
    image.height = dialog.height;
    accepted = selects = true;
}

void ObjectProperties::Visit(TUserHotspot& hotspot) {
    CHotspotDlg dialog(page.owner, parent);
    dialog.ownPageId = page.pageId;
    dialog.targetPageId = hotspot.targetPageId;
    dialog.requirePin = hotspot.requirePin;
    dialog.pin = hotspot.pin;
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return;
    hotspot.targetPageId = dialog.targetPageId;
    hotspot.requirePin = dialog.requirePin;
    hotspot.pin = dialog.pin;
    accepted = selects = true;
}
