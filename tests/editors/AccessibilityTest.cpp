// Every dialog as a screen reader meets it: each control it can reach carries a name, a label's
// control is named by that label, a button by its caption, and no two mnemonics collide.
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/dialogs/CAddImageDlg.h"
#include "editors/dialogs/CBtn8Dlg.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CEventDef.h"
#include "editors/dialogs/CHotspotDlg.h"
#include "editors/dialogs/CImageSizeDlg.h"
#include "editors/dialogs/CNumericDlg.h"
#include "editors/dialogs/CPageId.h"
#include "editors/dialogs/CSliderPropDlg.h"
#include "editors/dialogs/CZYLProg.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString plain(QString text) {
    return text.replace("&&", "\x01").remove('&').replace("\x01", "&");
}

// The mnemonic letter of a caption, or nothing.
QChar mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

void checkDialog(QDialog& dialog) {
    SCOPED_TRACE(dialog.windowTitle().toStdString());
    dialog.show();
    QStringList mnemonics;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&dialog))
            continue;
        const std::string what = widget->objectName().toStdString();
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << what << " has no accessible name";
        }
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr) {
            caption = label->text();
            if (label->buddy() != nullptr) {
                EXPECT_EQ(label->buddy()->accessibleName(), plain(caption)) << what;
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button != nullptr) {
            caption = button->text();
            if (!caption.isEmpty()) {
                EXPECT_EQ(button->accessibleName(), plain(caption)) << what;
            }
        }
        if (const QChar key = mnemonic(caption); !key.isNull()) {
            EXPECT_FALSE(mnemonics.contains(key)) << "mnemonic " << QString(key).toStdString() << " twice, at " << what;
            mnemonics.push_back(key);
        }
    }
}

TEST(Accessibility, EveryDialogNamesItsControlsByTheirLabels) {
    QtTestApp();
    ScriptedUiHost ui;
    TLayout layout;
    auto* user =
        static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Living Room"), nullptr));
    CBtn8Ctrl buttons(&layout, u"8 Button");
    CNumericCtrl keypad(&layout, u"Data Entry");
    const std::function<std::unique_ptr<QDialog>()> dialogs[] = {
        [&] { return std::make_unique<CZYLProg>(layout, ui); },
        [&] { return std::make_unique<CZylUserDlg>(layout, *user, ui, false); },
        [&] { return std::make_unique<CBtn8Dlg>(buttons); },
        [&] { return std::make_unique<CNumericDlg>(keypad, ui); },
        [&] { return std::make_unique<CEventDef>(layout); },
        [&] { return std::make_unique<CAddImageDlg>(ui); },
        [&] { return std::make_unique<CImageSizeDlg>(ui); },
        [&] { return std::make_unique<CButtonAddDlg>(&layout, ui); },
        [&] {
            auto selector = std::make_unique<CButtonAddDlg>(&layout, ui);
            selector->isSelector = true;
            return selector;
        },
        [&] { return std::make_unique<CHotspotDlg>(&layout); },
        [&] { return std::make_unique<CSliderPropDlg>(&layout, ui); },
        [&] { return std::make_unique<CPageId>(layout, *user, ui); },
        [&] { return std::make_unique<CZylFaceDlg>(&layout, ui); },
    };
    for (const auto& make : dialogs)
        checkDialog(*make());
}

} // namespace
