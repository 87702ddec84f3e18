#pragma once

#include "editors/dialogs/PropertyRules.h"

#include <QString>

#include <cstdint>
#include <optional>

class QComboBox;
class QWidget;

// Combo boxes of numbered entries: each item's data is the number the dialog stores.

QComboBox* MakeEntryCombo(QWidget* parent, const QString& name, const QString& accessibleName);
// Replaces the items with the list's entries and selects its selected row (none for -1).
void FillEntryCombo(QComboBox& combo, const EntryList& list);
// Adds the entry where a sorted list puts it; returns its row.
int InsertSortedEntry(QComboBox& combo, const ListEntry& entry);
// The chosen entry's number, or nothing when no entry is chosen.
[[nodiscard]] std::optional<std::int32_t> ChosenNumber(const QComboBox& combo);
