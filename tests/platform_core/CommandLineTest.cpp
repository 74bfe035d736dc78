#include "platform/CommandLine.h"
#include "platform_core/TempDir.h"

#include <gtest/gtest.h>

using namespace tablor;

TEST(CommandLine, OptionsAnswerOnlyWhenNoSuchFileExists) {
    const auto none = [](const std::string&) { return false; };
    EXPECT_EQ(commandLineAnswer({"--version"}, none), "Tablor 1.0\n");
    EXPECT_EQ(commandLineAnswer({"-V", "x.tbr"}, none), "Tablor 1.0\n");
    EXPECT_EQ(commandLineAnswer({"-h"}, none), commandLineAnswer({"--help"}, none));
    EXPECT_EQ(commandLineAnswer({"--help"}, none)->rfind("Usage : tablor [FICHIER]\n", 0), 0u);
    // Anything else starts the program: no argument, a table, -debug, an option after the table,
    // another letter case.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {"t.tbr"}, {"-debug"}, {"t.tbr", "-h"}, {"-v"}})
        EXPECT_FALSE(commandLineAnswer(args, none));

    // A file named like an option is a table to open, as it always was.
    EXPECT_FALSE(commandLineAnswer({"--help"}, [](const std::string&) { return true; }));
    tablor::testing::TempDir dir;
    tablor::testing::writeBytes(dir.file("--help"), "");
    EXPECT_TRUE(fileExists(dir.file("--help")));
    EXPECT_FALSE(fileExists(dir.file("--version")));
}
