#include <gtest/gtest.h>

#include "core/predict.h"
#include "machine_fixture.h"

namespace {

using K = TPredictKind;

TEST(Predict, ParsesWhatTheStudentTypes) {
    const struct {
        const char* Text;
        std::optional<TPrediction> Expected;
    } cases[] = {
        {"R3 0F", TPrediction{K::Register, 3, 0x0F}},
        {"  rf   a ", TPrediction{K::Register, 15, 0x0A}},
        {"R3=0f", TPrediction{K::Register, 3, 0x0F}},
        {"R3 := 0F", TPrediction{K::Register, 3, 0x0F}},
        {"[80] 2A", TPrediction{K::Memory, 0x80, 0x2A}},
        {"[ ff ]=0", TPrediction{K::Memory, 0xFF, 0}},
        {"PC 0E", TPrediction{K::Jump, 0, 0x0E}},
        {"pc:=e", TPrediction{K::Jump, 0, 0x0E}},
        {"-", TPrediction{K::Nothing}},
        {"HALT", TPrediction{K::Halt}},
        {"invalid", TPrediction{K::Invalid}},
        {"", std::nullopt},
        {"R3", std::nullopt},
        {"R10 0F", std::nullopt},
        {"RG 0F", std::nullopt},
        {"R3 100", std::nullopt},
        {"R3 0F 1", std::nullopt},
        {"[80 2A", std::nullopt},
        {"[] 2A", std::nullopt},
        {"[100] 2A", std::nullopt},
        {"PC", std::nullopt},
        {"halted", std::nullopt},
        {"--", std::nullopt},
        {"R3 = = 0F", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePrediction(c.Text), c.Expected) << c.Text;
}

// Each program's first step, the prediction that is right about it, and one that is not.
TEST(Predict, AStepIsJudgedByWhatItChanged) {
    const struct {
        std::vector<int> Program;
        const char* Right;
        const char* Wrong;
    } cases[] = {
        {{0x23, 0x0F}, "R3 0F", "R3 0E"},
        {{0x21, 0x00}, "R1 00", "-"},  // writing the value it held is still a write
        {{0x30, 0x80}, "[80] 00", "[81] 00"},
        {{0xB0, 0x0E}, "PC 0E", "-"},
        {{0xB0, 0x02}, "PC 02", "-"},  // a jump to the next instruction is still a jump
        {{0xB1, 0x0E, 0x00}, "-", "PC 0E"},
        {{0xC0, 0x00}, "halt", "-"},
        {{0x00, 0x00}, "invalid", "halt"},
    };
    for (const auto& c : cases) {
        TTestMachine m;
        m.Registers.SetContents(1, 0x05);
        for (size_t i = 0; i < c.Program.size(); ++i) m.MainMemory.SetContents(i, c.Program[i]);
        m.Simulation.Step();
        const TPrediction actual = ActualChange(m.History().Entry(0));
        EXPECT_EQ(PredictionText(actual), c.Right);
        EXPECT_EQ(ParsePrediction(c.Right), actual) << c.Right;
        EXPECT_NE(ParsePrediction(c.Wrong), actual) << c.Wrong;
    }
}

// The verdict comes before the step's explanation; before any step there is nothing to judge.
TEST(Predict, AVerdictSaysRightOrWhatTheStepDid) {
    const std::pair<const char*, const char*> cases[] = {
        {"r1 = 5", "Right. R1 := 05"},
        {"halt", "Wrong: you said halt, the step did R1 05. R1 := 05"},
    };
    for (const auto& [said, verdict] : cases) {
        TTestMachine m;
        EXPECT_FALSE(JudgeLastStep(*ParsePrediction(said), m.Stores(), m.History()));
        m.Poke(0, {0x21, 0x05});
        m.Simulation.Step();
        const auto judged = JudgeLastStep(*ParsePrediction(said), m.Stores(), m.History());
        ASSERT_TRUE(judged);
        EXPECT_EQ(judged->Right, verdict[0] == 'R') << said;
        EXPECT_TRUE(judged->Text.starts_with(verdict)) << judged->Text;
    }
}

TEST(Predict, ScoreCountsRightAnswersOfAll) {
    TPredictScore score;
    EXPECT_EQ(score.Text(), "0 of 0 right");
    for (bool right : {true, false, true}) score.Count(right);
    EXPECT_EQ(score.Text(), "2 of 3 right");
}

}  // namespace
