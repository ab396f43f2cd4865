// nimbara-calc's command line: options, values and usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arguments.h"

namespace {

using Args = std::vector<std::string>;
using Action = CliArguments::Action;

TEST(Arguments, StatePointTakesTheTextsAsGivenWithWindowDefaults)
{
    const CliArguments a = ParseArguments({"-t", "27", "--rh", "46.37"});
    ASSERT_EQ(a.action, Action::StatePoint);
    EXPECT_EQ(a.mode, InputMode::PsiKnown);
    EXPECT_EQ(a.B, "101325");
    EXPECT_EQ(a.upsilon, "2.5");
    EXPECT_EQ(a.t, "27");
    EXPECT_EQ(a.humidity, "46.37");

    const CliArguments b = ParseArguments({"--ts", " 19℃", "-B", "98000", "-u", "", "-t", "-5"});
    ASSERT_EQ(b.action, Action::StatePoint);
    EXPECT_EQ(b.mode, InputMode::TsKnown);
    EXPECT_EQ(b.B, "98000");
    EXPECT_EQ(b.upsilon, "");
    EXPECT_EQ(b.t, "-5");  // a value beginning with "-" is a value
    EXPECT_EQ(b.humidity, " 19℃");
}

TEST(Arguments, JoinedValues)
{
    const CliArguments a = ParseArguments({"-t27", "--rh=46.37", "-B101000", "-u3"});
    ASSERT_EQ(a.action, Action::StatePoint);
    EXPECT_EQ(a.t, "27");
    EXPECT_EQ(a.humidity, "46.37");
    EXPECT_EQ(a.B, "101000");
    EXPECT_EQ(a.upsilon, "3");
    EXPECT_EQ(ParseArguments({"-t", "27", "--ts="}).humidity, "");
}

TEST(Arguments, Batch)
{
    EXPECT_EQ(ParseArguments({"--batch"}).action, Action::Batch);
    EXPECT_EQ(ParseArguments({"--batch"}).batchFile, "");
    EXPECT_EQ(ParseArguments({"--batch", "-"}).batchFile, "-");
    EXPECT_EQ(ParseArguments({"--batch", "读数.csv"}).batchFile, "读数.csv");
}

TEST(Arguments, Help)
{
    EXPECT_EQ(ParseArguments({"--help"}).action, Action::Help);
    EXPECT_EQ(ParseArguments({"-h"}).action, Action::Help);
    EXPECT_EQ(ParseArguments({"-t", "27", "--help"}).action, Action::Help);
}

class UsageErrors : public testing::TestWithParam<Args> {};

TEST_P(UsageErrors, AreReportedWithAReason)
{
    const CliArguments a = ParseArguments(GetParam());
    EXPECT_EQ(a.action, Action::UsageError);
    EXPECT_FALSE(a.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageErrors,
    testing::Values(Args{}, Args{"--rh", "46.37"}, Args{"-t", "27"},
                    Args{"-t", "27", "--rh", "1", "--ts", "2"}, Args{"-t", "27", "--rh"},
                    Args{"-t"}, Args{"-t", "27", "--rh", "1", "-x"},
                    Args{"-t", "27", "--rh", "1", "--rhx"}, Args{"-t", "27", "--rh", "1", "extra"},
                    Args{"-t", "27", "-t", "28", "--rh", "1"}, Args{"--batch", "a.csv", "b.csv"},
                    Args{"--batch", "-t", "27"}, Args{"--batch", "--batch"},
                    Args{"-t", "27", "--rh", "1", "--json"}, Args{"--design", "a.json", "-t", "27"},
                    Args{"--design", "a.json", "--batch"}, Args{"-t", "27", "--d", "1", "--h", "2"}));

}  // namespace
