// Fuzzes picture loading: arbitrary bytes read as a bitmap (TBitmap, whatever the
// extension) and as a picture chosen by extension (TPicture); either loads a picture
// within the size limits or raises Exception and keeps what was there.
#include "fuzz/FuzzSupport.h"

#include "shell/Graphics.h"
#include "shell/PictureFiles.h"
#include "shell/SysUtils.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartApplication();
    ClearPictureCache();
    // The first byte picks the extension TPicture goes by; the rest is the file.
    static const char* const extensions[] = {"bmp", "png", "dib", "BMP"};
    const std::string extension = size > 0 ? extensions[data[0] % 4] : "bmp";
    const std::string path = WriteScratchFile("picture." + extension, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);

    TBitmap bitmap;
    try {
        bitmap.LoadFromFile(path);
        if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || bitmap.Width() > MaxBitmapSide
            || bitmap.Height() > MaxBitmapSide)
            std::abort();
    } catch (const Exception&) {
        if (!bitmap.Empty())
            std::abort(); // a failed load must keep what the bitmap held: nothing
    }

    TPicture picture;
    try {
        picture.LoadFromFile(path);
        if (picture.Width() <= 0 || picture.Height() <= 0)
            std::abort();
    } catch (const Exception&) {
    }
    // Loading the same file again comes from the cache and must give the same size.
    TPicture again;
    try {
        again.LoadFromFile(path);
    } catch (const Exception&) {
    }
    if (again.Width() != picture.Width() || again.Height() != picture.Height())
        std::abort();
    return 0;
}
