#pragma once
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

// A fresh folder for one test, named after the process and the test so parallel runs
// never share one, removed with everything in it when the test ends.
struct ScratchFolder {
    std::filesystem::path path;

    ScratchFolder()
        : path(std::filesystem::temp_directory_path() / ("marlune-" + std::to_string(::getpid()) + "-" +
                                                         testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// Tests that read and write real files, each in a scratch folder of its own.
class ScratchFolderTest : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_directory / name).string(); }

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

    ScratchFolder m_scratch;
    const std::filesystem::path& m_directory = m_scratch.path;
};
