#include "common/AtomicFile.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public testing::Test {
protected:
    AtomicFileTest()
        : folder_(fs::temp_directory_path() / ("atomic-" + std::to_string(getpid()) + "-" +
                                               testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~AtomicFileTest() override { fs::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    static std::string Read(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    // Only the files the test itself made may be left: never a stray temporary.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(AtomicFileTest, ReplacesTheTargetAndKeepsItsPermissions)
{
    const std::string target = PathOf("table.ifi");
    std::ofstream(target) << "old";
    chmod(target.c_str(), 0640);

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, "new contents\n", error)) << error;

    EXPECT_EQ(Read(target), "new contents\n");
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"table.ifi"});
}

TEST_F(AtomicFileTest, AFullDiskLeavesThePreviousFileByteForByte)
{
    const std::string target = PathOf("keep.ifi");
    std::ofstream(target) << "10 1\n20 2\n";

    // The child gets a file-size limit of zero, like a full disk; SIGXFSZ ignored so the
    // write fails with EFBIG instead of killing it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
        std::string error;
        const bool written = WriteFileAtomically(target, std::string(100000, 'x'), error);
        _exit(!written && error.find(target) != std::string::npos ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported, naming the file";
    EXPECT_EQ(Read(target), "10 1\n20 2\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.ifi"});
}

TEST_F(AtomicFileTest, AMissingFolderIsReportedAndNothingIsCreated)
{
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(PathOf("missing/out.csv"), "x", error));
    EXPECT_NE(error.find("missing/out.csv"), std::string::npos) << error;
    EXPECT_TRUE(Names().empty());
}

TEST_F(AtomicFileTest, WritersByPathGetTheTargetsExtension)
{
    const std::string target = PathOf("frame.png");
    AtomicFile file(target);
    ASSERT_TRUE(file.IsOpen()) << file.Error();
    EXPECT_EQ(fs::path(file.TemporaryPath()).extension(), ".png");
    EXPECT_EQ(fs::path(file.TemporaryPath()).parent_path(), folder_);
    std::ofstream(file.TemporaryPath()) << "picture";
    ASSERT_TRUE(file.Commit()) << file.Error();
    EXPECT_EQ(Read(target), "picture");
    EXPECT_EQ(Names(), std::vector<std::string>{"frame.png"});
}

TEST_F(AtomicFileTest, AnAbandonedWriteChangesNothing)
{
    const std::string target = PathOf("trace.csv");
    std::ofstream(target) << "before";
    {
        AtomicFile file(target);
        std::fputs("half a trace", file.Stream());
    }
    EXPECT_EQ(Read(target), "before");
    EXPECT_EQ(Names(), std::vector<std::string>{"trace.csv"});
}

TEST_F(AtomicFileTest, ALinkIsWrittenThroughAndStaysALink)
{
    const std::string real = PathOf("real.ifi");
    const std::string link = PathOf("link.ifi");
    std::ofstream(real) << "old";
    fs::create_symlink(real, link);

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(link, "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");
}

}  // namespace

TEST_F(AtomicFileTest, APipeIsWrittenInPlaceAndStaysAPipe)
{
    // Renaming over a device or a pipe would put a plain file in its place (as root,
    // even /dev/full or a terminal): such a target is written as it is.
    const std::string target = PathOf("pipe");
    ASSERT_EQ(mkfifo(target.c_str(), 0600), 0);
    const int reader = open(target.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    std::string error;
    EXPECT_TRUE(WriteFileAtomically(target, "through\n", error)) << error;
    char received[16] = {};
    EXPECT_EQ(read(reader, received, sizeof received), 8);
    close(reader);
    EXPECT_EQ(std::string(received), "through\n");
    struct stat status {};
    ASSERT_EQ(lstat(target.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(Names(), std::vector<std::string>{"pipe"});
}
