#include "EngineRig.h"

#include "layout/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class StateFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("zyl-sim-store-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        folder = (root / "nested" / "sim").string();
    }
    void TearDown() override { fs::remove_all(root); }

    static Bytes readFile(const std::string& path) {
        Bytes out;
        EXPECT_TRUE(ReadWholeFile(path, 10'000'000, out, nullptr)) << path;
        return out;
    }

    fs::path root;
    std::string folder;
};

TEST_F(StateFolder, AnUploadedLayoutIsThereAtTheNextStartExactlyAsSent) {
    const Bytes payload = pattern(3000, 11);
    {
        PanelStore store(folder, [] { return pattern(10); });
        ASSERT_TRUE(store.Open(nullptr));
        PanelEngine engine(SimOptions{}, store);
        for (std::int32_t i = 0; i < 4; ++i)
            engine.Receive(blockPacket(payload, i), 0);
        engine.Receive(trailer("%endlayout\n", payload), 0);
        std::string acks;
        for (int i = 0; i < 5; ++i)
            acks += "%return 0\r\n";
        EXPECT_EQ(text(engine.TakeOutput()), acks);
    }
    EXPECT_EQ(readFile(folder + "/layout.bin"), payload);

    int defaultsMade = 0;
    PanelStore again(folder, [&] {
        ++defaultsMade;
        return pattern(10);
    });
    ASSERT_TRUE(again.Open(nullptr));
    EXPECT_TRUE(again.HasStoredLayout());
    EXPECT_EQ(again.Layout(), payload);
    EXPECT_EQ(defaultsMade, 0) << "no demo is drawn when a layout is stored";
}

TEST_F(StateFolder, FirmwareLandsByteForByteBesideTheLayout) {
    PanelStore store(folder, [] { return pattern(10); });
    ASSERT_TRUE(store.Open(nullptr));
    const Bytes firmware = pattern(2500, 200);
    ASSERT_TRUE(store.StoreFirmware(firmware, nullptr));
    EXPECT_EQ(readFile(folder + "/firmware.zfw"), firmware);
    EXPECT_FALSE(fs::exists(folder + "/layout.bin"));
    EXPECT_EQ(store.Layout(), pattern(10));
}

TEST_F(StateFolder, RefusesToStartOnAStoredLayoutItCannotHold) {
    struct Case {
        const char* name;
        void (*prepare)(const std::string& folder);
    };
    const Case cases[] = {
        {"layout larger than the panel holds",
         [](const std::string& f) {
             fs::create_directories(f);
             std::ofstream(f + "/layout.bin", std::ios::binary) << std::string(512001, 'x');
         }},
        {"state folder is a file",
         [](const std::string& f) {
             fs::create_directories(fs::path(f).parent_path());
             std::ofstream(f) << "x";
         }},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        c.prepare(folder);
        PanelStore store(folder, [] { return pattern(10); });
        std::string error;
        EXPECT_FALSE(store.Open(&error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

TEST_F(StateFolder, AFailedWriteKeepsTheOldLayout) {
    PanelStore store(folder, [] { return pattern(10); });
    ASSERT_TRUE(store.Open(nullptr));
    ASSERT_TRUE(store.StoreLayout(pattern(100, 1), nullptr));
    // A folder where the file should go makes the rename fail.
    fs::remove(folder + "/layout.bin");
    fs::create_directories(folder + "/layout.bin/blocker");
    std::string error;
    EXPECT_FALSE(store.StoreLayout(pattern(200, 2), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(store.Layout(), pattern(100, 1));
}

} // namespace
