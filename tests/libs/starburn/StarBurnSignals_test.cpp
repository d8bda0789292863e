// Starting the burning module leaves the program's signal handlers as they were.
#include "tests/libs/starburn/DvdFolderFixture.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

void ProgramHandler(int) {}

using Handler = void (*)(int);

Handler CurrentHandler(int signal) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

TEST(StarBurnSignals, StartingTheModuleKeepsTheProgramsHandlers) {
    const int handled[] = {SIGINT, SIGTERM, SIGHUP, SIGUSR1};
    std::signal(SIGINT, ProgramHandler);
    std::signal(SIGTERM, ProgramHandler);
    std::signal(SIGHUP, ProgramHandler);
    std::signal(SIGUSR1, ProgramHandler);
    Handler pipeBefore = CurrentHandler(SIGPIPE);
    {
        starburn_test::LoadedStarBurn sdk;
        ASSERT_TRUE(sdk.Bound());
        ASSERT_EQ(sdk.Api().StarBurn_UpStartEx(), STARBURN_OK);
        int found = 0;
        sdk.Api().StarBurn_FindDevice(5, 0, [](std::uint32_t, void* c, void*, void*) { ++*static_cast<int*>(c); },
                                      &found);
    }
    for (int signal : handled) {
        EXPECT_EQ(CurrentHandler(signal), &ProgramHandler) << "signal " << signal;
    }
    EXPECT_EQ(CurrentHandler(SIGPIPE), pipeBefore);
}

}  // namespace
