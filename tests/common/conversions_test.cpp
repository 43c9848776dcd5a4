#include "common/conversions.h"

#include <gtest/gtest.h>

namespace {

struct WholeCase {
    const char* text;
    std::optional<int> expected;
};

TEST(ToWholeNumber, AcceptsWhatTheStoreMayHoldAndRejectsTheRest) {
    const WholeCase cases[] = {
        {"0", 0},         {"1", 1},         {"2", 2},          {"-5", -5},      {" 7 ", 7},
        {"1e2", 100},     {"2.5", 2},       {"3.5", 4},        {"-2.5", -2},    {"000", 0},
        {"32767", 32767}, {"-32768", -32768}, {"&H10", 16},    {"&hFFFF", -1},  {"", std::nullopt},
        {"   ", std::nullopt}, {"x", std::nullopt}, {"7x", std::nullopt}, {"32768", std::nullopt},
        {"1e9", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt},
        {"&H", std::nullopt},  {"&H10000", std::nullopt},
        // Four hex digits are the whole 16-bit pattern; only digits follow the prefix.
        {"&H7FFF", 32767},     {"&H8000", -32768}, {"&H-1", std::nullopt}, {"&H 1", std::nullopt},
    };
    for (const WholeCase& c : cases)
        EXPECT_EQ(ToWholeNumber(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(ToTruthValue, WordsInAnyCaseAndNumbersAreTruthValues) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"True", true},   {"TRUE", true},  {"false", false}, {"False", false},
        {"000", false},   {"0", false},    {"1", true},      {"-1", true},
        {" 2 ", true},    {"", std::nullopt}, {"yes", std::nullopt}, {"Truex", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ToTruthValue(QString::fromLatin1(text)), expected) << text;
    EXPECT_EQ(TruthText(true), QStringLiteral("True"));
    EXPECT_EQ(TruthText(false), QStringLiteral("False"));
}

} // namespace
