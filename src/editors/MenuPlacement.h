#pragma once

#include <QPoint>

class QAbstractButton;

// A menu that a button opens appears where the user is: at the pointer after a mouse click, at
// the button when it was pressed from the keyboard (Space, its mnemonic) or by a screen reader.

// Starts watching how the button gets pressed.
void TrackPressOrigin(QAbstractButton& button);
// The global point for a menu whose bottom edge sits there, centred on it: the pointer after a
// mouse press on the button, else the middle of the button's top edge, so the menu opens on it.
[[nodiscard]] QPoint MenuPointFor(const QAbstractButton& button);
