// The fuzz targets' shared application and scratch folder.
#include "fuzz/FuzzSupport.h"

#include "shell/Application.h"
#include "shell/Timers.h"

#include <QApplication>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

void StartApplication()
{
    static TApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Nothing here reads input from a session bus; Qt would otherwise look for one.
        setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "0", 1);
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        auto* made = new TApplication("fuzz");
        TTimer::StopClock(true);
        return made;
    }();
    (void)application;
}

const std::string& ScratchFolder()
{
    struct Folder {
        // In memory where there is such a folder: the INI writer flushes every write to disk.
        std::string path = access("/dev/shm", W_OK) == 0 ? "/dev/shm/fuzz-XXXXXX" : "/tmp/fuzz-XXXXXX";
        Folder()
        {
            if (!mkdtemp(path.data()))
                throw std::runtime_error("cannot make a scratch folder");
        }
        ~Folder() { std::system(("rm -rf '" + path + "'").c_str()); }
    };
    static const Folder folder;
    return folder.path;
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = ScratchFolder() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}
