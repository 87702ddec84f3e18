#pragma once

#include "QtTestApp.h"
#include "QuickTiming.h"
#include "ScriptedUiHost.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "app/CMosaicsDlg.h"
#include "layout/TLayout.h"

#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Waits that end as soon as the bytes are there; long only when something is wrong.
inline constexpr int kGenerousMs = 20000;

// The layout as the panel would receive it, pixels included.
inline std::vector<std::uint8_t> encoded(TLayout& layout) {
    std::string error;
    const auto image = layout.Encode(TLayout::kUploadCapacity, &error);
    EXPECT_TRUE(image) << error;
    return image.value_or(std::vector<std::uint8_t>{});
}

// A main window on the test's layout and scripted UiHost, and a simulated panel to connect to.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QtTestApp();
        // Each test starts from the settings of a first run (in the test program's scratch folder).
        QSettings("ZYLMosaics", "ZYLMosaics").clear();
    }

    // A window whose port list holds just the given device.
    std::unique_ptr<CMosaicsDlg> window(const std::string& device) {
        auto dlg = std::make_unique<CMosaicsDlg>(
            layout, ui, nullptr,
            [device] {
                return std::vector<PortEntry>{{device, "Test port (" + device + ")"}};
            },
            simulatorTiming());
        dlg->show();
        dlg->portList->setCurrentIndex(0);
        return dlg;
    }
    void startSim(const std::vector<std::string>& arguments = {}) {
        sim.reset();
        sim = std::make_unique<SimProcess>(arguments, state.Path(), runtime.Path());
        ASSERT_FALSE(sim->DevicePath().empty());
    }
    static void click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static std::string logOf(CMosaicsDlg& dlg) { return dlg.GetSession().Log(); }
    // Uploads the layout, connects again and expects the panel's copy to equal what was sent, by
    // encoded bytes, pixels included.
    void expectRoundTrip(CMosaicsDlg& dlg) {
        // Compared with the layout as decoded, as the panel's copy comes back through a decode too.
        TLayout sent;
        ASSERT_TRUE(sent.Decode(encoded(layout)));
        click(dlg.uploadButton);
        EXPECT_TRUE(dlg.GetSession().LastProblem().empty()) << dlg.GetSession().LastProblem();
        click(dlg.connectButton);
        click(dlg.connectButton);
        EXPECT_TRUE(logOf(dlg).ends_with("Downloaded layout from control\r\n")) << logOf(dlg);
        EXPECT_EQ(encoded(layout), encoded(sent));
    }

    TLayout layout;
    TempFolder state;
    TempFolder runtime;
    std::unique_ptr<SimProcess> sim;
    ScriptedUiHost ui;
};
