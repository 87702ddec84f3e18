#pragma once

#include "TempDir.h"
#include "layout/FileIo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A fresh folder per test, and whole-file reads and writes for setting up and checking files.
class FileFixture : public ::testing::Test {
protected:
    using Bytes = std::vector<std::uint8_t>;

    std::string path(const std::string& name) const { return temp.Path(name); }

    static Bytes read(const std::string& file) {
        Bytes bytes;
        EXPECT_TRUE(ReadWholeFile(file, 1 << 24, bytes, nullptr));
        return bytes;
    }
    static void write(const std::string& file, const Bytes& bytes) {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    TempDir temp;
    const std::filesystem::path& dir = temp.Dir();
};
