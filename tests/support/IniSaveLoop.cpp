// Saves window bounds into an INI file over and over until it is killed: the writer that
// the crash test kills at random moments.
#include "shell/IniFile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ini_save_loop FILE\n");
        return 2;
    }
    TIniFile ini(argv[1]);
    for (int round = 0;; ++round)
        for (const char* key : {"Top", "Left", "Height", "Width"})
            ini.WriteString("Size", key, std::to_string(round));
}
