// Fuzzes the number conversions: any text either converts or raises Exception; what
// converts writes back as text that converts to the same number; and every double written
// by FloatToStr reads back through StrToFloat to the same text.
#include "shell/Conversions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    try {
        const int value = StrToInt(text);
        if (StrToInt(IntToStr(value)) != value)
            std::abort();
    } catch (const Exception&) {
    }

    double read = 0;
    bool converted = true;
    try {
        read = StrToFloat(text);
    } catch (const Exception&) {
        converted = false;
    }
    if (converted) {
        if (!std::isfinite(read))
            std::abort(); // StrToFloat promises a finite number
        const std::string shown = FloatToStr(read);
        if (FloatToStr(StrToFloat(shown)) != shown)
            std::abort();
    }

    // The input's first eight bytes as a double: anything FloatToStr writes for a finite
    // number must read back, and keep its text.
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            const std::string shown = FloatToStr(value);
            if (FloatToStr(StrToFloat(shown)) != shown)
                std::abort();
        }
    }
    return 0;
}
