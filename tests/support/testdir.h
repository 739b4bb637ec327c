#pragma once
// An empty folder of its own for the running test, so that tests and test programs run
// side by side never share files. The caller removes it when the test ends.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline std::filesystem::path FreshTestDir(const std::string& prefix) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (prefix + std::to_string(::getpid()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}
