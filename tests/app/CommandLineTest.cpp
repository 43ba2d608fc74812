#include "app/CommandLineInfo.h"

#include <gtest/gtest.h>

#include <sstream>

using Action = CommandLineInfo::Action;

TEST(CommandLine, OnlyTheFourSwitchesAreSwitchesAndDashDashEndsThem) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string file;
        std::string printer;
        bool ok;
    };
    const Case cases[] = {
        {{}, Action::New, "", "", true},
        {{"maze.wkz"}, Action::Open, "maze.wkz", "", true},
        {{"/home/me/maze.wkz"}, Action::Open, "/home/me/maze.wkz", "", true},
        {{"/pt"}, Action::PrintTo, "", "", false},
        {{"/P", "a.wkz"}, Action::Print, "a.wkz", "", true},
        {{"-p", "a.wkz"}, Action::Print, "a.wkz", "", true},
        {{"-pt", "a b.wkz", "Office Laser"}, Action::PrintTo, "a b.wkz", "Office Laser", true},
        {{"/Pt", "a.wkz", "lp"}, Action::PrintTo, "a.wkz", "lp", true},
        {{"/p"}, Action::Print, "", "", false},
        {{"-pt", "a.wkz"}, Action::PrintTo, "", "", false},
        {{"/px", "a.wkz"}, Action::Open, "/px", "", false}, // two paths
        {{"/px"}, Action::Open, "/px", "", true},
        {{"--p"}, Action::Open, "", "", false},
        {{"--bogus"}, Action::Open, "", "", false},
        {{"-x"}, Action::Open, "", "", false},
        {{"a.wkz", "-x"}, Action::Open, "", "", false},
        {{"/p", "-x"}, Action::Print, "", "", false},
        {{"--", "-x"}, Action::Open, "-x", "", true},
        {{"--", "--help"}, Action::Open, "--help", "", true},
        {{"--", "--"}, Action::Open, "--", "", true},
        {{"--"}, Action::New, "", "", true},
        {{"-"}, Action::Open, "-", "", true},
        {{"/p", "--", "-x"}, Action::Print, "-x", "", true},
        {{"-pt", "--", "-x", "-lp"}, Action::PrintTo, "-x", "-lp", true},
        {{"-pt", "a.wkz", "--", "-lp"}, Action::PrintTo, "a.wkz", "-lp", true},
        {{"--", "/p", "a.wkz"}, Action::Open, "/p", "", false},
        {{"a.wkz", "b.wkz"}, Action::Open, "a.wkz", "", false},
        {{""}, Action::Open, "", "", false},
        {{"/p", "a.wkz", "extra"}, Action::Print, "a.wkz", "", false},
        {{"--help"}, Action::Help, "", "", true},
        {{"-h"}, Action::Help, "", "", true},
        {{"-h", "a.wkz"}, Action::Help, "", "", false},
    };
    for (const Case& c : cases) {
        const CommandLineInfo info = CommandLineInfo::Parse(c.args);
        const std::string where = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(info.Ok(), c.ok) << where;
        if (!c.ok) {
            EXPECT_FALSE(info.error.empty()) << where;
            continue;
        }
        EXPECT_EQ(info.action, c.action) << where;
        EXPECT_EQ(info.file, c.file) << where;
        EXPECT_EQ(info.printer, c.printer) << where;
    }
}

TEST(CommandLine, AnUnknownSwitchIsNamedWithTheUsageAndStatusTwo) {
    std::ostringstream out, err;
    EXPECT_EQ(CommandLineInfo::Parse({"--bogus"}).AnswerOnTerminal(out, err), 2);
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(err.str().rfind("orlimber: unknown switch \"--bogus\"", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("Usage: orlimber [--] [FILE]"), std::string::npos) << err.str();
    EXPECT_EQ(CommandLineInfo::Parse({"--", "-x"}).AnswerOnTerminal(out, err), std::nullopt);
}
