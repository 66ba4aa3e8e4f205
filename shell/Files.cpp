// Opening files to read: first a path-only descriptor, which opens nothing and so never
// waits or wakes a device, to see what the name is; then the regular file itself, without
// waiting, checked again on its own descriptor.
#include "shell/Files.h"

#include "shell/Conversions.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {

// What a name that is not a regular file is, for a message: "папка", "именованный канал"...
std::string KindName(mode_t mode)
{
    if (S_ISDIR(mode))
        return "папка";
    if (S_ISFIFO(mode))
        return "именованный канал";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "устройство";
    if (S_ISSOCK(mode))
        return "сокет";
    return "особый файл";
}

// Where a symbolic link points, as it is written in the link; empty for anything else.
std::string LinkTarget(const std::string& path)
{
    struct stat own {};
    if (lstat(path.c_str(), &own) != 0 || !S_ISLNK(own.st_mode))
        return {};
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, std::size_t(length)) : std::string("?");
}

// Why `status`, what the name led to, is not a file to read.
std::string KindReason(const std::string& path, mode_t mode)
{
    const std::string target = LinkTarget(path);
    if (!target.empty())
        return "это ссылка на " + KindName(mode) + " " + Quoted(target) + ", а не на файл";
    return "это " + KindName(mode) + ", а не файл";
}

// Why opening `path` failed with `error`, told as precisely as the name allows.
std::string OpenReason(const std::string& path, int error)
{
    if (error == ENOENT) {
        const std::string target = LinkTarget(path);
        if (!target.empty())
            return "это ссылка на несуществующий файл " + Quoted(target);
        if (!path.empty() && path[0] != '/') {
            char folder[PATH_MAX];
            if (getcwd(folder, sizeof folder))
                return "файл не найден в папке " + Quoted(folder);
        }
        return "файл не найден";
    }
    return SystemReason(error);
}

} // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int FileHandle::Close()
{
    if (fd_ < 0)
        return 0;
    // The descriptor is gone whatever close says, so it is never closed twice.
    const int result = close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

std::string SystemReason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOENT:
        return "файл или папка не найдены";
    case ENOTDIR:
        return "часть пути не является папкой";
    case EISDIR:
        return "это папка, а не файл";
    case ELOOP:
        return "ссылки на пути ведут по кругу или их слишком много";
    case ENAMETOOLONG:
        return "слишком длинное имя";
    case ENOSPC:
    case EDQUOT:
        return "нет места на диске";
    case EFBIG:
        return "файл стал бы больше, чем разрешено";
    case EROFS:
        return "диск доступен только для чтения";
    case EEXIST:
        return "файл с таким именем уже есть";
    case EXDEV:
        return "файл и его временная копия оказались на разных дисках";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    case ENOMEM:
        return "не хватает памяти";
    case EIO:
        return "ошибка ввода-вывода: диск или носитель неисправен";
    case ETXTBSY:
    case EBUSY:
        return "файл занят другой программой";
    case EAGAIN:
        return "файл временно недоступен";
    case EINVAL:
        return "система не принимает такое имя или действие";
    case ENXIO:
    case ENODEV:
        return "устройство отсутствует";
    case EOVERFLOW:
        return "файл слишком велик";
    default:
        return "системная ошибка номер " + std::to_string(error);
    }
}

OpenedFile OpenForReading(const std::string& path, const std::string& what, const std::string& shownName,
                          bool absentIsEmpty)
{
    const auto fail = [&](const std::string& reason) -> Exception {
        return Exception("Не удалось открыть " + what + " " + Quoted(shownName) + ": " + reason);
    };
    OpenedFile opened;
    {
        // A path-only descriptor opens neither a pipe nor a device: it only tells what
        // the name leads to.
        const FileHandle place(open(path.c_str(), O_PATH | O_CLOEXEC));
        if (!place.Valid()) {
            const int error = errno;
            if (error == ENOENT && absentIsEmpty && LinkTarget(path).empty())
                return opened;
            throw fail(OpenReason(path, error));
        }
        if (fstat(place.Get(), &opened.status) != 0)
            throw fail(SystemReason(errno));
        if (!S_ISREG(opened.status.st_mode))
            throw fail(KindReason(path, opened.status.st_mode));
    }
    // The name may have been replaced meanwhile: this open does not wait either, and what
    // it opened is checked again on its own descriptor.
    opened.handle = FileHandle(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!opened.handle.Valid()) {
        const int error = errno;
        if (error == ENOENT && absentIsEmpty && LinkTarget(path).empty())
            return {};
        throw fail(OpenReason(path, error));
    }
    if (fstat(opened.handle.Get(), &opened.status) != 0)
        throw fail(SystemReason(errno));
    if (!S_ISREG(opened.status.st_mode))
        throw fail(KindReason(path, opened.status.st_mode));
    // Reads of a regular file never wait, with O_NONBLOCK or without; clearing it only
    // keeps later readers from meeting a flag they did not ask for. If clearing it fails,
    // the file still reads the same, so neither result is checked.
    const int flags = fcntl(opened.handle.Get(), F_GETFL);
    if (flags >= 0)
        fcntl(opened.handle.Get(), F_SETFL, flags & ~O_NONBLOCK);
    return opened;
}

int ReadAt(int fd, std::int64_t offset, std::size_t count, void* to)
{
    auto* into = static_cast<char*>(to);
    while (count > 0) {
        const ssize_t read = pread(fd, into, count, off_t(offset));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return read < 0 ? errno : EIO;
        into += read, offset += read, count -= std::size_t(read);
    }
    return 0;
}

int ReadToEnd(int fd, std::int64_t bound, std::string& content)
{
    content.clear();
    std::string chunk(std::size_t(64) << 10, '\0');
    while (true) {
        const ssize_t read = ::read(fd, chunk.data(), chunk.size());
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return errno;
        if (read == 0)
            return 0;
        if (std::int64_t(content.size()) + read > bound) {
            content.append(chunk, 0, std::size_t(bound - std::int64_t(content.size())));
            return EFBIG;
        }
        content.append(chunk, 0, std::size_t(read));
    }
}
