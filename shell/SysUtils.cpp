// Conversions and the process-wide pseudo-random generator.
#include "shell/SysUtils.h"

#include <charconv>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

std::string Quoted(const std::string& text)
{
    // A value read from a file may be megabytes long; a message shows its beginning.
    constexpr std::size_t Shown = 80;
    if (text.size() <= Shown)
        return "«" + text + "»";
    std::size_t cut = Shown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // never split a UTF-8 character
    return "«" + text.substr(0, cut) + "…»";
}

std::string IntToStr(int value)
{
    return std::to_string(value);
}

// A fixed seed on purpose: a run must be repeatable from its start.
std::uint32_t RandSeed = 1;

int random(int n)
{
    if (n <= 0)
        return 0;
    // The minimal standard generator: state * 48271 mod (2^31 - 1).
    RandSeed = static_cast<std::uint32_t>(std::uint64_t(RandSeed) * 48271 % 2147483647);
    return static_cast<int>(RandSeed % static_cast<unsigned>(n));
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips a run of digits from `at`; tells how many there were.
std::size_t Digits(const std::string& text, std::size_t& at)
{
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at - start;
}

} // namespace

int StrToInt(const std::string& text)
{
    std::size_t at = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    const bool negative = at == 1 && text[0] == '-';
    const std::size_t first = at;
    if (Digits(text, at) == 0 || at != text.size())
        throw Exception(Quoted(text) + " не является целым числом");
    long long value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            break;
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX)
        throw Exception("Число " + Quoted(text) + " вне допустимых пределов (от -2147483648 до 2147483647)");
    return static_cast<int>(value);
}

double StrToFloat(const std::string& text)
{
    // The grammar is checked here, so that the C library, whatever the locale, only ever
    // sees a plain number with a '.' separator.
    std::string plain = text;
    std::size_t at = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    std::size_t digits = Digits(text, at);
    if (at < text.size() && (text[at] == ',' || text[at] == '.')) {
        plain[at++] = '.';
        digits += Digits(text, at);
    }
    bool valid = digits > 0;
    if (valid && at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        valid = Digits(text, at) > 0;
    }
    if (!valid || at != text.size())
        throw Exception(Quoted(text) + " не является числом");

    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const double value = strtod_l(plain.c_str(), nullptr, cLocale);
    if (std::isinf(value)) {
        // FloatToStr writes the largest doubles rounded to 15 digits, a little above them
        // ("1,79769313486232E308"); such text still reads as the largest double.
        const long double wide = strtold_l(plain.c_str(), nullptr, cLocale);
        if (std::fabs(wide) <= 1.79769313486232e308L)
            return std::copysign(DBL_MAX, value);
        throw Exception("Число " + Quoted(text) + " слишком велико");
    }
    return value;
}

std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, written.ptr);
    // to_chars writes "1.5e+15"; the programs show "1,5E15" and "1E-5".
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            shown += ',';
        } else if (c == 'e') {
            shown += 'E';
            if (text[i + 1] == '+' || text[i + 1] == '-')
                if (text[++i] == '-')
                    shown += '-';
            while (i + 1 < text.size() - 1 && text[i + 1] == '0')
                ++i;
        } else {
            shown += c;
        }
    }
    return shown;
}
