// nimbara-calc with a state from two properties and with --design, end to end.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"

namespace {

using Args = std::vector<std::string>;

ProcessResult calc(const Args& args, const std::string& input = {})
{
    return RunProcess(NIMBARA_CALC_PATH, args, input);
}

TEST(TwoProperties, EveryPairPrintsTheTwelveLinesWithTheGivenOnesAsTyped)
{
    struct Case {
        Args args;
        std::vector<const char*> lines;  // lines the record must hold
    };
    const Case cases[] = {
        {{"-t", "27", "--d", "10.32"}, {"  含湿量 d=10.32g/kg干", "  湿球温度 ts=19.03℃", "  露点温度 tl=14.94℃"}},
        {{"-t", "27", "--h", "53.6"}, {"  焓值 h=53.6kJ/kg干", "  含湿量 d=10.32g/kg干", "  相对湿度 ψ=46.37%"}},
        {{"-t", "27", "--tl", "14.94"}, {"  露点温度 tl=14.94℃", "  含湿量 d=10.32g/kg干"}},
        {{"--h", "53.6", "--d", "10.32"}, {"  干球温度t=27.01℃", "  湿球温度 ts=19.03℃"}},
        {{"--d", "10", "--rh", "60"}, {"  含湿量 d=10g/kg干", "  相对湿度 ψ=60%", "  干球温度t=22.17℃"}},
        {{"--h", "50", "--rh", "60"}, {"  焓值 h=50kJ/kg干", "  干球温度t=23.00℃"}},
        {{"--altitude", "1500", "--rh", "60", "--d", "10"}, {"  大气压力B=84556Pa"}},
    };
    for (const Case& c : cases) {
        const ProcessResult r = calc(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args[1] << r.err;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 12) << r.out;
        for (const char* line : c.lines)
            EXPECT_NE(r.out.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << r.out;
    }
    const ProcessResult refused = calc({"--ts", "19", "--h", "50"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "湿球温度ts与焓值h的线几乎平行，不能确定状态点，请换一个参数！\n");
}

TEST(TwoProperties, TheBatchTakesTWithAPropertyColumnInsteadOfModeAndValue)
{
    const ProcessResult r = calc({"--batch"}, "t,h,B,upsilon,label\n27,53.6,101325,2.5,a\n20,10,101325,2.5,b\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "t,h,B,upsilon,label,ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message\n"
                     "27,53.6,101325,2.5,a,19.03,46.37,10.32,,1.168,0.85653,3567.31,2201.92,1654.14165,14.94,ok,\n"
                     "20,10,101325,2.5,b,,,,,,,,,,,error,第3行：焓值h使含湿量d为负值（比干空气还干），请检查输入！\n");
    for (const char* header : {"t,d,h,B,upsilon\n", "d,B,upsilon\n"}) {
        const ProcessResult bad = calc({"--batch"}, header);
        EXPECT_EQ(bad.exitCode, 2) << header;
        EXPECT_NE(bad.err.find("表头"), std::string::npos) << bad.err;
    }
}

const std::string kSummer = R"({
  "season": "summer", "system": "primary-return",
  "room": {"t": 22, "rh": 55}, "outdoor": {"t": 35, "ts": 26.9},
  "load": {"Q": 3.314, "W": 0.264}, "fresh_air_ratio": 0.15, "supply": {"dt": 8}
})";

TEST(DesignProgram, PrintsTheSheetOrItsJson)
{
    const ProcessResult sheet = calc({"--design", "-"}, kSummer);
    EXPECT_EQ(sheet.exitCode, 0) << sheet.err;
    for (const char* part : {"空调过程设计计算书（夏季，一次回风）", "ε = Q/(W/1000) = 3.314/(0.264/1000) = 12553 kJ/kg",
                             "  N    22.00   55.00", "G = Q/(hN − hO) = ", "表冷器冷量 G·(hC − hL) = ", "校核",
                             "过程：N→C，W→C，C→L，L→O，O→N"})
        EXPECT_NE(sheet.out.find(part), std::string::npos) << part << "\n" << sheet.out;

    const ProcessResult json = calc({"--design", "-", "--json"}, kSummer);
    EXPECT_EQ(json.exitCode, 0) << json.err;
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_NEAR(j["epsilon"].get<double>(), 12553.03, 0.01);
    for (const char* name : {"N", "W", "C", "L", "O"})
        EXPECT_EQ(j["points"][name]["rh"].is_number(), true) << name;
    for (const char* load : {"coil", "reheat", "fresh_air", "condensate"})
        EXPECT_TRUE(j["loads"][load].is_number()) << load;
    // The sheet's G is the JSON's, rounded.
    std::ostringstream g;
    g.precision(4);
    g << std::fixed << j["G"].get<double>();
    EXPECT_NE(sheet.out.find(") = " + g.str() + " kg/s"), std::string::npos) << g.str();
}

TEST(DesignProgram, BadFilesExitTwoNamingTheKeyOrThePlace)
{
    const auto with = [](const std::string& from, const std::string& to) {
        std::string s = kSummer;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const std::pair<std::string, std::string> cases[] = {
        {"{\n  \"season\": \"summer\",\n  \"system\" \"direct\"\n}", "第 3 行第 19 列"},
        {with("\"supply\"", "\"suply\""), "未知的键“suply”"},
        {with("\"W\": 0.264", "\"W\": 0.264, \"X\": 1"), "未知的键“load.X”"},
        {with("\"fresh_air_ratio\": 0.15, ", ""), "缺少键“fresh_air_ratio”"},
        {with("\"t\": 22", "\"t\": \"22\""), "键“room.t”的值应为数值"},
        {with("\"season\": \"summer\"", "\"season\": \"summer\", \"B\": 101.325"), "以 Pa 为单位"},
        {with("\"rh\": 55", "\"rh\": 55, \"d\": 9"), "键“room”只能给出两个参数"},
        {with("\"summer\"", "\"spring\""), "键“season”的值应为 summer、winter 之一"},
        {"[[[[[[[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]]]]]]]", "嵌套太深"},
        {"", "第 1 行第 1 列"},
        {with("22", "1e999"), "超出可以计算范围的数值"},
    };
    for (const auto& [text, expected] : cases) {
        const ProcessResult r = calc({"--design", "-"}, text);
        EXPECT_EQ(r.exitCode, 2) << text;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(expected), std::string::npos) << expected << "\n" << r.err;
    }
    const ProcessResult missing = calc({"--design", "/nonexistent/design.json"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("无法打开设计文件"), std::string::npos) << missing.err;
}

TEST(DesignProgram, AnImpossibleDesignExitsOneWithItsReason)
{
    std::string ratio = kSummer;
    ratio.replace(ratio.find("0.15"), 4, "1.5");
    const ProcessResult r = calc({"--design", "-"}, ratio);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "nimbara-calc：新风比 fresh_air_ratio 必须在 0 到 1 之间\n");
}

}  // namespace
