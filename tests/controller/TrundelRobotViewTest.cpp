// trundel-robot --view and --video as a user runs them: the window refused without a
// display in one French line, the video made without any.
#include "LinkTestSupport.h"
#include "RobotProgram.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "../common/PlayedGif.h"

namespace {

// Sets (or, with no value, removes) an environment variable for the test's life.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* was = std::getenv(name)) previous_ = was;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (previous_)
            ::setenv(name_, previous_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(TrundelRobotView, WithoutADisplayTheWindowIsRefusedInOneLineAndNoTerminalIsOpened)
{
    link_test::ScratchDirectory scratch;
    const ScopedVariable noWayland("WAYLAND_DISPLAY", std::nullopt);
    const struct {
        std::optional<std::string> display;
        std::string said;
    } cases[] = {
        {std::nullopt, "trundel-robot : aucun affichage (DISPLAY n'est pas défini) ; --view a besoin d'un écran, "
                       "--video enregistre la même vue sans écran.\n"},
        {":4097", "trundel-robot : l'affichage « :4097 » ne répond pas ; --view a besoin d'un écran, --video "
                  "enregistre la même vue sans écran.\n"},
    };
    for (const auto& refusal : cases) {
        const ScopedVariable display("DISPLAY", refusal.display);
        RobotProgram program({"--view", "--video", "vue.gif"});
        EXPECT_EQ(program.End(), 1);
        EXPECT_EQ(Contents("erreurs"), refusal.said);
        EXPECT_EQ(Contents("sortie"), "");
        EXPECT_FALSE(std::filesystem::exists("vue.gif"));
    }
}

TEST(TrundelRobotView, AVideoIsRecordedWithoutAnyDisplay)
{
    link_test::ScratchDirectory scratch;
    const ScopedVariable noDisplay("DISPLAY", std::nullopt);
    const ScopedVariable noWayland("WAYLAND_DISPLAY", std::nullopt);
    RobotProgram program({"--room", TRUNDEL_ROOMS "/corridor.txt", "--video", "couloir.gif"});
    ASSERT_FALSE(program.Device().empty()) << Contents("erreurs");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(program.End(SIGINT), 0) << Contents("erreurs");
    const PlayedGif played = PlayGif("couloir.gif");
    EXPECT_GT(played.frames, 0);
    EXPECT_EQ(played.delay, 3);
    EXPECT_NE(Contents("erreurs").find("trundel-robot: " + std::to_string(played.frames) + " frames in couloir.gif\n"),
              std::string::npos)
        << Contents("erreurs");
}

TEST(TrundelRobotView, AVideoThatCannotBeWrittenStopsTheProgramBeforeItStarts)
{
    link_test::ScratchDirectory scratch;
    RobotProgram unwritable({"--video", "nowhere/run.gif"});
    EXPECT_EQ(unwritable.End(), 1);
    EXPECT_NE(Contents("erreurs").find("--video: cannot write 'nowhere/run.gif'"), std::string::npos)
        << Contents("erreurs");
    EXPECT_EQ(Contents("sortie"), "");
    RobotProgram unknown({"--video", "run.avi"});
    EXPECT_EQ(unknown.End(), 2) << "not a video name: the usage";
}

}  // namespace
