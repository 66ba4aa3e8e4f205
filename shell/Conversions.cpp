// Conversions between numbers and text, and values quoted for messages.
#include "shell/Conversions.h"

#include <charconv>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

// A value read from a file may be megabytes long; a message shows this much of it.
constexpr std::size_t ShownBytes = 80;
// The longest name a file can have: a last path component up to this long is a file's
// name and is always shown whole.
constexpr std::size_t LongestFileName = 255;

bool Continues(const std::string& text, std::size_t at)
{
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// `at` moved back to the start of the UTF-8 character it falls in.
std::size_t CharacterStart(const std::string& text, std::size_t at)
{
    for (int i = 0; i < 3 && at > 0 && Continues(text, at); ++i)
        --at;
    return at;
}

// A long text shortened to about ShownBytes: a path loses folders from its middle and
// keeps its file's name whole; any other text keeps its beginning.
std::string Shortened(const std::string& text)
{
    if (text.size() <= ShownBytes)
        return text;
    const std::size_t slash = text.rfind('/');
    if (slash != std::string::npos && text.size() - slash - 1 <= LongestFileName) {
        const std::size_t name = text.size() - slash; // with its slash
        const std::size_t head = name < ShownBytes ? ShownBytes - name : 0;
        return text.substr(0, CharacterStart(text, head)) + "…" + text.substr(slash);
    }
    return text.substr(0, CharacterStart(text, ShownBytes)) + "…";
}

// Characters that would change how the rest of a message looks or is read out: control
// characters (a NUL ends a screen reader's text), line and paragraph separators, and
// the marks that turn the direction of the text.
bool Hidden(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x061C || c == 0x200E || c == 0x200F
           || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// The text with hidden characters written out as \uXXXX and bytes that are no UTF-8 as \xXX.
std::string Visible(const std::string& text)
{
    std::string shown;
    char code[16];
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = byte < 0x80 ? 1 : byte >= 0xC2 && byte < 0xE0 ? 2 : byte >= 0xE0 && byte < 0xF0 ? 3
                                                : byte >= 0xF0 && byte < 0xF5 ? 4 : 0;
        bool whole = length > 0 && at + length <= text.size();
        for (std::size_t i = 1; whole && i < length; ++i)
            whole = Continues(text, at + i);
        if (!whole) {
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            shown += code;
            ++at;
            continue;
        }
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i)
            c = c << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        if (Hidden(c)) {
            std::snprintf(code, sizeof code, "\\u%04X", unsigned(c));
            shown += code;
        } else {
            shown.append(text, at, length);
        }
        at += length;
    }
    return shown;
}

} // namespace

std::string Quoted(const std::string& text)
{
    return "«" + Visible(Shortened(text)) + "»";
}

std::string IntToStr(int value)
{
    return std::to_string(value);
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
