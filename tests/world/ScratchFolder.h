#pragma once
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

// Tests that read and write real files: each test gets a fresh folder of its own, named
// after the process and the test so parallel runs never share one, removed afterwards.
class ScratchFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        directory_ = std::filesystem::temp_directory_path() /
                     ("marlune-" + std::to_string(::getpid()) + "-" +
                      testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }

    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(PathOf(name)) << text;
        return PathOf(name);
    }

    static std::string Read(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    std::filesystem::path directory_;
};
