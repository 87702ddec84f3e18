#pragma once

#include <QDialog>

class TLayout;

// "User Event Definitions": the descriptions and texts of the layout's 24 user events, written on OK.
class CEventDef : public QDialog {
    Q_OBJECT
public:
    explicit CEventDef(TLayout& layout, QWidget* parent = nullptr);

    TLayout& layout;
};
