#include "CEventDef.h"

CEventDef::CEventDef(TLayout& layout_, QWidget* parent) : QDialog(parent), layout(layout_) {
    setWindowTitle("User Event Definitions");
}
