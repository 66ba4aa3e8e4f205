// Conversions and the process-wide pseudo-random generator.
#include "shell/SysUtils.h"

#include <random>

std::string Quoted(const std::string& text)
{
    return "«" + text + "»";
}

std::string IntToStr(int value)
{
    return std::to_string(value);
}

int random(int n)
{
    // A fixed default seed on purpose: a run must be repeatable from its start.
    static std::minstd_rand generator;
    if (n <= 0)
        return 0;
    return static_cast<int>(generator() % static_cast<unsigned>(n));
}
