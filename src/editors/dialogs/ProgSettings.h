#pragma once

#include <string>

class TLayout;

// The layout's global settings as the programming dialog's controls show them: check boxes as
// on/off, the two timeouts and the brightness as plain numbers.
struct ProgSettings {
    std::u16string controlName;
    bool autoBrightness = false;
    int manualBrightness = 100;
    bool audibleFeedback = false;
    bool sleepEnabled = false;
    int sleepTimeout = 0;
    bool pinOnWakeup = false;
    std::u16string timeoutPin;
    std::u16string securityPin;
    bool defaultPageEnabled = false;
    int defaultPageTimeout = 0;

    static ProgSettings FromLayout(const TLayout& layout);
    // A timeout whose box is cleared is stored as 0, whatever its field holds.
    void ApplyTo(TLayout& layout) const;
};
