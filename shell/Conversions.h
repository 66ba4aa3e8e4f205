// Conversions between values and text: numbers to and from text, names of enumeration
// values, and a value quoted for a message. Failures raise the shell's Exception.
#pragma once

#include "shell/Exception.h"

#include <cstdint>
#include <string>

using Word = std::uint16_t;

// A value of an enumeration with the name layouts give it. Each enumeration lists its
// names once, beside its values, as a table of these; a name is found by looking it up,
// so reordering the enumeration or its table never gives a name another value.
template <class T>
struct NamedValue {
    const char* name;
    T value;
};

// A name or value as messages quote it: «name». A long path keeps its beginning and its
// file's name whole and loses folders between («/home/…/закат.bmp»); any other long text
// keeps its first 80 bytes («…»). Control and direction-changing characters are written
// out («\u202E», «\u0000»), bytes that are not UTF-8 too («\xFF»), so the message reads
// the same on screen, in a screen reader and when copied.
std::string Quoted(const std::string& text);

// Plain signed decimal text of an integer: "0", "3", "-1".
std::string IntToStr(int value);

// Decimal text to a signed 32-bit integer: an optional sign and digits, nothing else (no
// blanks). Raises Exception quoting the text when it is not such a number.
int StrToInt(const std::string& text);

// Decimal text to a double: an optional sign, digits with at most one decimal separator
// (',' or '.'), an optional exponent (e or E, optional sign, digits), and nothing else: no
// blanks, no inf or nan. Raises Exception quoting the text otherwise, and for a number
// too large for a double; the largest double as FloatToStr writes it
// ("1,79769313486232E308") still reads back as that double.
double StrToFloat(const std::string& text);

// A double as the general format writes it: at most 15 significant digits, no trailing
// zeros, ',' as the decimal separator, an exponent ("1E15", "1E-5") for numbers of more
// than 15 integer digits or below 0,0001. Negative zero is "0".
std::string FloatToStr(double value);
