#include "IntConvert.h"

#include <gtest/gtest.h>

#include "Errors.h"

namespace quillomar {
namespace {

struct TValidCase {
    const char* Text;
    int32_t Value;
};

TEST(IntConvert, AcceptsDecimalHexAndSigns) {
    const TValidCase lCases[] = {
        {"0", 0},
        {"7", 7},
        {"+7", 7},
        {"-5", -5},
        {"   42", 42},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"000000000000013", 13},
        {"$B", 11},
        {"0xB", 11},
        {"0Xb", 11},
        {"xb", 11},
        {"X7", 7},
        {"$7", 7},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
        {"$80000000", INT32_MIN},
        {"$00000000FF", 255},  // leading zeros are not significant
    };
    for (const auto& c : lCases) {
        SCOPED_TRACE(c.Text);
        auto lValue = TryStrToInt(c.Text);
        ASSERT_TRUE(lValue.has_value());
        EXPECT_EQ(*lValue, c.Value);
        EXPECT_EQ(StrToInt(c.Text), c.Value);
    }
}

TEST(IntConvert, RejectsEverythingElse) {
    const char* lCases[] = {"",          " ",         "+",        "-",           "7a",  "7 ",  "2,3",
                            "2\t3",      "\t7",       "2147483648", "-2147483649", "$",   "0x",  "x",
                            "$123456789", "+-7",      "- 7",      "1e3",         "0x-1", "٣",  "99999999999999999999"};
    for (const char* lText : lCases) {
        SCOPED_TRACE(lText);
        EXPECT_FALSE(TryStrToInt(lText).has_value());
        EXPECT_THROW(StrToInt(lText), EConvertError);
    }
}

TEST(IntConvert, ErrorNamesThePiece) {
    try {
        StrToInt("2,3");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2,3' is not a valid integer value for Integer type");
        EXPECT_EQ(ErrorBoxText(e.what()), "'2,3' is not a valid integer value for Integer type.");
    }
}

TEST(IntConvert, LongPieceIsNamedByItsFirst64Characters) {
    const std::string l64(64, '9');
    EXPECT_EQ(ConvertErrorMessage(l64), "'" + l64 + "' is not a valid integer value for Integer type");
    const std::string lHuge = "a" + std::string(5'000'000, '7');
    EXPECT_EQ(ConvertErrorMessage(lHuge),
              "'a" + std::string(63, '7') + "…' is not a valid integer value for Integer type");
    // Characters, not bytes: 70 two-byte characters are cut after 64 of them.
    std::string lPolish;
    for (int i = 0; i < 70; ++i) lPolish += "ą";
    std::string lExpected;
    for (int i = 0; i < 64; ++i) lExpected += "ą";
    EXPECT_EQ(ConvertErrorMessage(lPolish), "'" + lExpected + "…' is not a valid integer value for Integer type");
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorBoxText("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Why?"), "Why?.");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace quillomar
