#include "editors/dialogs/ProgSettings.h"

#include "layout/TLayout.h"

#include <cstdint>

ProgSettings ProgSettings::FromLayout(const TLayout& layout) {
    ProgSettings s;
    s.controlName = layout.controlName;
    s.autoBrightness = layout.autoBrightness != 0;
    // The byte is shown as a signed number, so a damaged 200 reads -56 and is refused on OK.
    s.manualBrightness = static_cast<std::int8_t>(layout.manualBrightness);
    s.audibleFeedback = layout.audibleFeedback > 0;
    s.sleepEnabled = layout.sleepTimeout > 0;
    s.sleepTimeout = layout.sleepTimeout;
    s.pinOnWakeup = layout.pinOnWakeup == 1;
    s.timeoutPin = layout.timeoutPin;
    s.securityPin = layout.securityPin;
    s.defaultPageEnabled = layout.defaultPageTimeout > 0;
    s.defaultPageTimeout = layout.defaultPageTimeout;
    return s;
}

void ProgSettings::ApplyTo(TLayout& layout) const {
    layout.timeoutPin = timeoutPin;
    layout.securityPin = securityPin;
    layout.pinOnWakeup = pinOnWakeup ? 1 : 0;
    layout.sleepTimeout = sleepEnabled ? sleepTimeout : 0;
    layout.defaultPageTimeout = defaultPageEnabled ? defaultPageTimeout : 0;
    layout.audibleFeedback = audibleFeedback ? 1 : 0;
    layout.autoBrightness = autoBrightness ? 1 : 0;
    layout.manualBrightness = static_cast<std::uint8_t>(manualBrightness);
    layout.controlName = controlName;
}
