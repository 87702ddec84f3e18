#pragma once

#include <QString>

#include <functional>

class QWidget;

// Try Layout on the demo layout at 2x: a page, a button held down, the PIN pad and the sleep page.
void TryLayoutShots(const std::function<void(QWidget&, const QString& name)>& save);
