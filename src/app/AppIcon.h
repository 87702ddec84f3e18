#pragma once

#include <QIcon>

// The application's icon: a panel showing a mosaic of tiles, drawn at every size it is shown at.
QIcon MakeAppIcon();
