#pragma once

class CColourPopup;

// The colour popup as a screen reader meets it: a menu whose items are "Automatic", the 40
// colours by name and "More Colors...", the selected one focused and the chosen one checked.

// Gives every colour popup that interface. Further calls do nothing.
void InstallColourPopupAccessibility();
// The selection moved: the selected entry takes the focus.
void ColourSelectionChanged(CColourPopup& popup);
// The popup opened or closed, told as a menu tells it.
void ColourPopupShown(CColourPopup& popup, bool shown);
