// Number conversions: what text is a number, what a number looks like, and what a
// failure says.
#include "shell/Conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

// Text that must be refused; the message must quote the text as typed.
void ExpectRefused(double (*convert)(const std::string&), const std::string& text)
{
    try {
        convert(text);
        ADD_FAILURE() << "accepted «" << text << "»";
    } catch (const Exception& failure) {
        EXPECT_NE(failure.Message().find("«" + text + "»"), std::string::npos) << failure.Message();
    }
}

double IntAsDouble(const std::string& text)
{
    return StrToInt(text);
}

} // namespace

TEST(Conversions, StrToIntTakesASignAndDigitsWithin32Bits)
{
    const std::pair<const char*, int> accepted[] = {
        {"0", 0}, {"-8", -8}, {"+15", 15}, {"007", 7}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
    };
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(StrToInt(text), value) << text;
    for (const char* text : {"", "-", "+", " 5", "5 ", "1.0", "1,0", "12abc", "0x10", "1e3", "2147483648",
                             "-2147483649", "99999999999999999999",
                             // 2^64 + 1 and -(2^64 + 7): in 64 bits they would wrap to 1 and -7.
                             "18446744073709551617", "-18446744073709551623"})
        ExpectRefused(IntAsDouble, text);
}

TEST(Conversions, StrToFloatTakesBothSeparatorsAndExponents)
{
    const std::pair<const char*, double> accepted[] = {
        {"1,5", 1.5},    {"1.5", 1.5},   {"-2,25", -2.25}, {"+3", 3},         {",5", 0.5},
        {"5.", 5},       {"1e3", 1000},  {"1,5E-2", 0.015}, {"-1e+2", -100}, {"1e-400", 0},
        {"007.50", 7.5},
    };
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(StrToFloat(text), value) << text;
    EXPECT_TRUE(std::signbit(StrToFloat("-0"))) << "negative zero is read as such";
    for (const char* text : {"", " 1", "1 ", "abc", "12abc", "1,5,5", "1.5.5", "1,5.5", "e5", "1e", "1e+",
                             "inf", "-inf", "nan", "0x1p3", ".", "-", "1e400", "--1"})
        ExpectRefused(StrToFloat, text);
}

TEST(Conversions, FloatToStrWritesTheGeneralFormWithAComma)
{
    const std::pair<double, const char*> shown[] = {
        {0, "0"},
        {-0.0, "0"},
        {70, "70"},
        {-2.5, "-2,5"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {1e14, "100000000000000"},
        {1e15, "1E15"},
        {1e16, "1E16"},
        {123456789012345678.0, "1,23456789012346E17"},
        {0.0001, "0,0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1,5E-7"},
        {10000000, "10000000"},
        {INFINITY, "INF"},
        {-INFINITY, "-INF"},
        {NAN, "NAN"},
    };
    for (const auto& [value, text] : shown)
        EXPECT_EQ(FloatToStr(value), text) << value;
}

// What FloatToStr writes reads back through StrToFloat as the number it was written from,
// to its 15 digits, up to the largest doubles, whose text is rounded a little above them.
TEST(Conversions, EveryWrittenNumberReadsBack)
{
    const double values[] = {DBL_MAX, -DBL_MAX, DBL_MIN, 4.9e-324, 1.79769313486231e308, 0.1, -123.456e-200};
    for (const double value : values) {
        const std::string shown = FloatToStr(value);
        EXPECT_EQ(FloatToStr(StrToFloat(shown)), shown) << shown;
    }
    EXPECT_EQ(StrToFloat("1,79769313486232E308"), DBL_MAX);
    EXPECT_EQ(StrToFloat("-1,79769313486232E308"), -DBL_MAX);
    ExpectRefused(StrToFloat, "1,79769313486233E308");
    ExpectRefused(StrToFloat, "1,8E308");
}

TEST(Conversions, QuotedTextKeepsTheFileNameAndShowsHiddenCharacters)
{
    using namespace std::string_literals;
    const std::string folders = "/home/иван/Изображения/Отпуск на море 2023/ещё одна папка/и ещё одна";
    const std::string longName(200, 'n');
    const struct {
        const char* what;
        std::string text, quoted;
    } rows[] = {
        {"short", "Мячик.bmp", "«Мячик.bmp»"},
        {"long path", folders + "/закат.bmp", "«/home/иван/Изображения/Отпуск на море …/закат.bmp»"},
        {"long name", "/a/b/" + longName, "«…/" + longName + "»"},
        {"longer than a name can be", std::string(300, 'x'), "«" + std::string(80, 'x') + "…»"},
        {"letter not cut", std::string(61, 'a') + "ёёёёёёёёёёёёёёёёёё", "«" + std::string(61, 'a') + "ёёёёёёёёё…»"},
        {"direction override", "abc\u202Edef.bmp", "«abc\\u202Edef.bmp»"},
        {"NUL and line break", "a\0b\nc"s, "«a\\u0000b\\u000Ac»"},
        {"not UTF-8", "a\xFF\xD0", "«a\\xFF\\xD0»"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Quoted(row.text), row.quoted) << row.what;

    const std::string line(10 << 20, '7');
    try {
        StrToInt(line + "x");
        FAIL() << "accepted a 10 MB line";
    } catch (const Exception& failure) {
        EXPECT_LT(failure.Message().size(), 300u);
        EXPECT_NE(failure.Message().find("«7777"), std::string::npos);
    }
}
