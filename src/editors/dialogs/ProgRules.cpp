#include "editors/dialogs/ProgRules.h"

#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"

QString PlainEntryText(const TListItem& page) {
    return QString::fromStdU16String(page.name);
}

QString PageEntryText(const TListItem& page, std::int32_t defaultPageId) {
    // -1 means "no default page"; a page without an ID is not the default for that.
    if (defaultPageId != -1 && page.pageId == defaultPageId)
        return "*** " + PlainEntryText(page) + " ***";
    return PlainEntryText(page);
}

int AddReferenceRow(int selectedRow, int rowCount) {
    if (selectedRow >= 0 && selectedRow < rowCount)
        return selectedRow;
    return rowCount - 1;
}

int AddInsertRow(int referenceRow) {
    return referenceRow < 0 ? 0 : referenceRow + 1;
}

std::optional<int> MoveUpRow(int selectedRow) {
    if (selectedRow <= 0)
        return std::nullopt;
    return selectedRow - 1;
}

std::optional<int> MoveDownRow(int selectedRow, bool hasSuccessor) {
    if (selectedRow < 0 || !hasSuccessor)
        return std::nullopt;
    return selectedRow + 1;
}

const QStringList& AddMenuItems() {
    static const QStringList items{"8 Button 2 Column", "User Defined", "Data Entry"};
    return items;
}

std::unique_ptr<TListItem> MakeNewPage(TLayout& layout, int menuItem) {
    switch (menuItem) {
    case 0:
        return std::make_unique<CBtn8Ctrl>(&layout, u"8 Button");
    case 1:
        return std::make_unique<TUserPage>(&layout, u"User Page");
    case 2:
        return std::make_unique<CNumericCtrl>(&layout, u"Data Entry");
    default:
        return nullptr;
    }
}
