#include "TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

TempDir::TempDir() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test != nullptr ? std::string(test->test_suite_name()) + "-" + test->name() : "zyl";
    root = std::filesystem::temp_directory_path() / ("zyl-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}
