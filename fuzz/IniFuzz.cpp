// Fuzzes the INI reader and writer: arbitrary file content, then a section read, two keys
// written and the section read back. The written keys must read back as written, and every
// other key of the section must keep its value.
#include "fuzz/FuzzSupport.h"

#include "shell/IniFile.h"
#include "shell/Conversions.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The section's lines, less those of one key or two.
std::vector<std::string> Without(const TStringList& lines, const std::string& key, const std::string& other = "")
{
    std::vector<std::string> kept;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines.Strings(i);
        if (!SameName(line.substr(0, line.find('=')), key) && !SameName(line.substr(0, line.find('=')), other))
            kept.push_back(line);
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(40);
    const std::string key = input.ConsumeRandomLengthString(40);
    const std::string value = input.ConsumeRandomLengthString(80);
    const std::string content = input.ConsumeRemainingBytesAsString();
    const std::string path = WriteScratchFile("fuzz.ini",
        reinterpret_cast<const std::uint8_t*>(content.data()), content.size());

    TIniFile ini(path);
    TStringList before, after;
    ini.ReadSectionValues(section, &before);
    try {
        ini.WriteString(section, key, value);
        ini.WriteString(section, key + "2", "2"); // through what the first write left
    } catch (const Exception&) {
        // A name or value the file cannot hold is refused, and the file stays as it was.
        TStringList again;
        ini.ReadSectionValues(section, &again);
        if (Without(again, "") != Without(before, ""))
            std::abort();
        return 0;
    }
    ini.ReadSectionValues(section, &after);
    if (after.GetValue(key) != Trimmed(value) || after.GetValue(key + "2") != "2")
        std::abort(); // the key does not read back as written
    if (Without(after, key, key + "2") != Without(before, key, key + "2"))
        std::abort(); // another key of the section changed
    return 0;
}
