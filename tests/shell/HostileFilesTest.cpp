// Every reader of files in the shell against every kind of thing a name can lead to: each
// is read, or refused at once with the true reason in Russian; none waits on a pipe.
#include "shell/Graphics.h"
#include "shell/IniFile.h"
#include "shell/MediaPlayer.h"
#include "shell/PictureCache.h"
#include "shell/PictureFiles.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/WaveFiles.h"

#include <QFile>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Opens a pipe for writing if a reader still waits on it after a few seconds, so that a
// reader that blocks fails its case instead of hanging the run.
class PipeWatch {
public:
    explicit PipeWatch(std::string pipe)
        : pipe_(std::move(pipe)), thread_([this] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (done_.wait_for(lock, std::chrono::seconds(5), [this] { return finished_; }))
                  return;
              blocked_ = true;
              // A writer that comes and goes lets a waiting reader's open return.
              const int fd = open(pipe_.c_str(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0)
                  close(fd);
          })
    {
    }
    ~PipeWatch() { Finish(); }

    // Tells whether the reader had to be set free.
    bool Finish()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        if (thread_.joinable())
            thread_.join();
        return blocked_;
    }

private:
    std::string pipe_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::atomic<bool> blocked_{false};
    std::thread thread_;
};

// An INI name without a folder would go to the configuration folder.
std::string WithFolder(const std::string& path)
{
    return path.find('/') == std::string::npos ? "./" + path : path;
}

// A file whose size reads as 0 but holds `content` and a NUL, as in /proc, /sys and FUSE:
// the environment of a process started with `content` cut at NUL bytes, seen in /proc.
class SizelessFile {
public:
    explicit SizelessFile(std::string content)
    {
        content += '\0';
        std::vector<char*> strings;
        for (std::size_t start = 0; start < content.size(); start = content.find('\0', start) + 1)
            strings.push_back(content.data() + start);
        strings.push_back(nullptr);
        char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("60"), nullptr};
        EXPECT_EQ(posix_spawn(&child_, "/bin/sleep", nullptr, nullptr, argv, strings.data()), 0);
        // The spawn returns before the new program's environment is in place.
        for (int wait = 0; wait < 5000 && std::ifstream(Name()).peek() == EOF; ++wait)
            usleep(1000);
    }
    ~SizelessFile()
    {
        if (child_ > 0 && kill(child_, SIGKILL) == 0)
            waitpid(child_, nullptr, 0);
    }
    std::string Name() const { return "/proc/" + std::to_string(child_) + "/environ"; }

private:
    pid_t child_ = 0;
};

struct Reader {
    const char* name;
    std::function<std::string()> content;      // a valid file of its kind
    std::function<void(const std::string&)> read;
    bool absentIsFine;                         // a missing file reads as empty
    bool writes;                               // makes the file a link leads to; never tried in /proc
};

enum class Kind {
    Regular, Pipe, Folder, Device, LinkToDevice, LinkToNothing, Vanished, ThroughFile, LinkLoop, NoAccess, SizeReadsZero
};

struct KindCase {
    const char* name;
    Kind kind;
    const char* reason; // nullptr: read without failure
};

} // namespace

using HostileFiles = TemporaryFolder;

TEST_F(HostileFiles, EveryReaderReadsOnlyRegularFilesAndNeverWaits)
{
    ASSERT_EQ(chmod(folder.path().toLocal8Bit(), 0711), 0); // anyone may look up a name in it
    qputenv("SDL_AUDIODRIVER", "dummy");

    QFile ball(":/probe/Ball.bmp");
    ASSERT_TRUE(ball.open(QIODevice::ReadOnly));
    const std::string bitmap = ball.readAll().toStdString();

    const Reader readers[] = {
        {"bitmap", [&] { return bitmap; }, [](const std::string& path) { TBitmap().LoadFromFile(path); }, false, false},
        {"INI read", [] { return std::string("[Size]\nTop=1\n"); },
         [](const std::string& path) {
             TStringList values;
             TIniFile(WithFolder(path)).ReadSectionValues("Size", &values);
         },
         true, false},
        {"INI write", [] { return std::string("[Size]\nTop=1\n"); },
         [](const std::string& path) { TIniFile(WithFolder(path)).WriteString("Size", "Top", "2"); }, true, true},
        {"wave", [] { return WaveBytes({"silence", 1, 16, 1, 8000}, std::string(200, '\0')); },
         [](const std::string& path) {
             TMediaPlayer player;
             player.SetFileName(path);
             player.Open();
         },
         false, false},
    };
    const KindCase kinds[] = {
        {"regular file", Kind::Regular, nullptr},
        {"named pipe", Kind::Pipe, "это именованный канал, а не файл"},
        {"folder", Kind::Folder, "это папка, а не файл"},
        {"device", Kind::Device, "это устройство, а не файл"},
        {"link to a device", Kind::LinkToDevice, "это ссылка на устройство «/dev/zero», а не на файл"},
        {"link to nothing", Kind::LinkToNothing, "это ссылка на несуществующий файл «нет-такого»"},
        {"vanished after a read", Kind::Vanished, "файл не найден в папке"},
        {"a path through a file", Kind::ThroughFile, "часть пути не является папкой"},
        {"a link to itself", Kind::LinkLoop, "по кругу"},
        {"a file no one may read", Kind::NoAccess, "нет доступа"},
        {"size that reads as 0", Kind::SizeReadsZero, nullptr},
    };

    for (const Reader& reader : readers) {
        for (const KindCase& kind : kinds) {
            SCOPED_TRACE(std::string(reader.name) + ", " + kind.name);
            ClearPictureCache();
            std::string name = "файл";
            std::optional<SizelessFile> sizeless;
            switch (kind.kind) {
            case Kind::Regular:
            case Kind::Vanished:
            case Kind::ThroughFile:
            case Kind::NoAccess:
                std::ofstream(name, std::ios::binary) << reader.content();
                if (kind.kind == Kind::NoAccess)
                    ASSERT_EQ(chmod(name.c_str(), 0), 0);
                if (kind.kind == Kind::ThroughFile)
                    name += "/prog";
                break;
            case Kind::Pipe:
                ASSERT_EQ(mkfifo(name.c_str(), 0600), 0);
                break;
            case Kind::Folder:
                ASSERT_TRUE(QDir().mkdir(QString::fromStdString(name)));
                break;
            case Kind::Device:
                name = "/dev/null";
                break;
            case Kind::LinkToDevice:
                ASSERT_EQ(symlink("/dev/zero", name.c_str()), 0);
                break;
            case Kind::LinkToNothing:
                ASSERT_EQ(symlink("нет-такого", name.c_str()), 0);
                break;
            case Kind::LinkLoop:
                ASSERT_EQ(symlink(name.c_str(), name.c_str()), 0);
                break;
            case Kind::SizeReadsZero:
                if (reader.writes)
                    continue;
                name = sizeless.emplace(reader.content()).Name();
                break;
            }
            if (kind.kind == Kind::Vanished) {
                ASSERT_NO_THROW(reader.read(name)) << "the file was fine before it vanished";
                ASSERT_EQ(unlink(name.c_str()), 0);
            }

            std::optional<std::string> failure;
            PipeWatch watch(kind.kind == Kind::Pipe ? name : "");
            // Root may read any file: as nobody it is refused like any user.
            if (kind.kind == Kind::NoAccess)
                setfsuid(65534);
            try {
                reader.read(name);
            } catch (const Exception& caught) {
                failure = caught.Message();
            }
            setfsuid(getuid());
            EXPECT_FALSE(watch.Finish()) << "the reader waited on the pipe";

            const bool fine = !kind.reason || (kind.kind == Kind::Vanished && reader.absentIsFine)
                              || (kind.kind == Kind::LinkToNothing && reader.writes);
            if (fine) {
                EXPECT_FALSE(failure) << *failure;
            } else if (!failure) {
                ADD_FAILURE() << "read without a failure";
            } else {
                EXPECT_NE(failure->find(name + "»"), std::string::npos) << *failure;
                EXPECT_NE(failure->find(kind.reason), std::string::npos) << *failure;
                for (int error = 1; error < 134; ++error)
                    EXPECT_EQ(failure->find(std::strerror(error)), std::string::npos) << *failure;
            }
            // Nothing was written through a link into the device, and the link stays.
            struct stat status {};
            ASSERT_EQ(stat("/dev/zero", &status), 0);
            EXPECT_TRUE(S_ISCHR(status.st_mode));
            if (kind.kind == Kind::LinkToDevice || kind.kind == Kind::LinkToNothing) {
                ASSERT_EQ(lstat(name.c_str(), &status), 0);
                EXPECT_TRUE(S_ISLNK(status.st_mode));
                EXPECT_EQ(unlink("нет-такого") == 0, reader.writes && kind.kind == Kind::LinkToNothing);
            }
            if (unlink("файл") != 0)
                rmdir("файл");
        }
    }
}
