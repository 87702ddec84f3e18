#pragma once

#include "QtTestApp.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "TempDir.h"
#include "editors/dialogs/CZYLProg.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

// A layout, a scripted desktop and a folder for files, with the programming dialog opened on them.
class ProgFixture : public ::testing::Test {
protected:
    using Bytes = std::vector<std::uint8_t>;

    void SetUp() override { QtTestApp(); }

    std::unique_ptr<CZYLProg> open() {
        auto dlg = std::make_unique<CZYLProg>(layout, ui);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        return dlg;
    }

    // User pages named "P<id>" with those IDs, appended in order.
    void addPages(std::initializer_list<std::int32_t> ids) {
        for (std::int32_t id : ids) {
            auto page = std::make_unique<TUserPage>(&layout, QString("P%1").arg(id).toStdU16String());
            page->pageId = id;
            layout.InsertPageAfter(std::move(page), nullptr);
        }
    }

    QStringList pageNames() const {
        QStringList names;
        for (const auto& page : layout.pages)
            names.push_back(QString::fromStdU16String(page->name));
        return names;
    }

    static QStringList entries(const CZYLProg& dlg) {
        QStringList texts;
        for (int i = 0; i < dlg.pageList->count(); ++i)
            texts.push_back(dlg.pageList->item(i)->text());
        return texts;
    }

    // Clicks the entry as the user would.
    static void select(CZYLProg& dlg, int row) {
        if (row < 0)
            return;
        QListWidgetItem* item = dlg.pageList->item(row);
        ASSERT_NE(item, nullptr) << row;
        dlg.pageList->scrollToItem(item);
        QTest::mouseClick(dlg.pageList->viewport(), Qt::LeftButton, {}, dlg.pageList->visualItemRect(item).center());
        ASSERT_EQ(dlg.SelectedRow(), row);
    }

    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Replaces the field's text by typing.
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        // keyClicks knows only ASCII; other characters arrive as a key with text, as from an input method.
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80)
                QTest::keyClick(field, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }

    static std::function<void(QDialog&)> acceptStep() {
        return [](QDialog& d) { d.accept(); };
    }

    Bytes readFile(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // A template holding one page named `pageName` and `controlName`, padded with zeros (which the
    // decoder never reaches) to `size` bytes when that is larger.
    std::string templateFile(const std::string& name, const std::u16string& pageName, std::size_t size = 0) {
        TLayout other;
        other.controlName = u"From file";
        other.InsertPageAfter(std::make_unique<CNumericCtrl>(&other, pageName), nullptr);
        EXPECT_TRUE(other.SaveTemplate(files.Path(name)));
        Bytes bytes = readFile(files.Path(name));
        if (size > bytes.size())
            bytes.resize(size, 0);
        return files.Write(name, bytes);
    }

    TLayout layout;
    ScriptedUiHost ui;
    TempDir files;
};
