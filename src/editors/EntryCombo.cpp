#include "editors/EntryCombo.h"

#include <QComboBox>

QComboBox* MakeEntryCombo(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setAccessibleName(accessibleName);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

void FillEntryCombo(QComboBox& combo, const EntryList& list) {
    combo.clear();
    for (const ListEntry& entry : list.entries)
        combo.addItem(entry.text, entry.number);
    // The first item added to an empty combo becomes current by itself; the list decides instead.
    combo.setCurrentIndex(list.selected);
}

int InsertSortedEntry(QComboBox& combo, const ListEntry& entry) {
    QStringList texts;
    for (int row = 0; row < combo.count(); ++row)
        texts.push_back(combo.itemText(row));
    const int row = SortedInsertRow(texts, entry.text);
    combo.insertItem(row, entry.text, entry.number);
    return row;
}

std::optional<std::int32_t> ChosenNumber(const QComboBox& combo) {
    if (combo.currentIndex() < 0)
        return std::nullopt;
    return combo.currentData().toInt();
}
