// Opening files without ever blocking, and what the system's error numbers mean in
// Russian. Every reader of the shell (pictures, INI files, sound) opens through here, so a
// named pipe, a device or a folder named like an expected file is refused with a true reason
// instead of freezing the program in the kernel.
#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <utility>

// An open file descriptor, closed when its handle goes out of scope.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(FileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    bool Valid() const { return fd_ >= 0; }
    int Get() const { return fd_; }

    // Closes the descriptor now; returns 0, or the error number of a failed close (a
    // written file whose close fails may have lost its data).
    int Close();

private:
    int fd_ = -1;
};

// The meaning of a failed call's error number, in words a user of these programs reads:
// "нет доступа", "нет места на диске", ... Never the system's English text.
std::string SystemReason(int error);

// An open regular file and what fstat said about it when it was opened.
struct OpenedFile {
    FileHandle handle;
    struct stat status {};
};

// Opens a regular file to read. Opening never waits (a named pipe with no writer, a
// device), and whatever is not a regular file is refused by what it is, looked at on the
// open descriptor itself, so that nothing can swap the file between the check and the read.
// `what` names the kind of file for the message ("файл рисунка", "звуковой файл", ...);
// `shownName` is the name the message quotes. Raises Exception «Не удалось открыть <what>
// «name»: <reason>». With `absentIsEmpty`, a file that does not exist (the name itself, not
// a link to nothing) gives an invalid handle instead.
OpenedFile OpenForReading(const std::string& path, const std::string& what, const std::string& shownName,
                          bool absentIsEmpty = false);


// Reads an open file from where it stands (just opened: its start) to its end, whatever
// size fstat gave: files in /proc and /sys, and on some FUSE and network file systems, say
// 0 bytes and hold more. Returns 0, the error number of a failed read, or EFBIG when the
// file holds more than `bound` bytes (`content` then holds the first `bound`).
int ReadToEnd(int fd, std::int64_t bound, std::string& content);

// Reads exactly `count` bytes at `offset` of an open file into `to`. Returns 0, the error
// number of a failed read, or EIO when the file ends first.
int ReadAt(int fd, std::int64_t offset, std::size_t count, void* to);
