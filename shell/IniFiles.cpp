// The INI service: parsing lines, finding sections and keys, and replacing the file
// atomically on every write.
#include "shell/IniFiles.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file larger than this is not an INI file a person keeps; it is refused rather than
// read into memory.
constexpr off_t MaxIniSize = 64 << 20;

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Names match byte for byte, ASCII letters in either case. Every byte counts, a NUL too,
// and the locale plays no part, so a file reads the same under any language setting.
bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

// What the system said, in words a user of these programs reads.
std::string Reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOSPC:
    case EDQUOT:
        return "нет места на диске";
    case EFBIG:
        return "файл стал бы больше, чем разрешено";
    case EROFS:
        return "диск доступен только для чтения";
    case ENOTDIR:
        return "часть пути не является папкой";
    case EISDIR:
        return "это папка, а не файл";
    case ENOENT:
        return "папка не найдена";
    default:
        return std::strerror(error);
    }
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error)
{
    throw Exception(what + " " + Quoted(path) + ": " + Reason(error));
}

std::string ConfigFolder()
{
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home)
            if (const passwd* user = getpwuid(getuid()))
                home = user->pw_dir;
        base = std::string(home ? home : ".") + "/.config";
    }
    std::string program = QCoreApplication::applicationName().toStdString();
    if (program.empty())
        program = program_invocation_short_name;
    return base + "/" + program;
}

// Creates a folder and its missing parents.
void MakeFolders(const std::string& folder, const std::string& iniPath)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            Fail("Не удалось создать папку для файла", iniPath, errno);
        if (slash == std::string::npos)
            break;
    }
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        Fail("Не удалось создать папку для файла", iniPath, ENOTDIR);
}

// The file's lines without their '\n'; empty when the file does not exist.
std::vector<std::string> ReadLines(const std::string& path, bool& exists, mode_t& mode)
{
    exists = false;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        Fail("Не удалось прочитать файл", path, errno);
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        close(fd);
        Fail("Не удалось прочитать файл", path, error);
    }
    if (info.st_size > MaxIniSize) {
        close(fd);
        throw Exception("Файл " + Quoted(path) + " слишком велик для INI-файла ("
                        + std::to_string(info.st_size / (1 << 20)) + " МБ)");
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            close(fd);
            Fail("Не удалось прочитать файл", path, error);
        }
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    close(fd);
    exists = true;
    mode = info.st_mode & 07777;

    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
bool SectionOf(const std::string& line, std::string& name)
{
    const std::string text = Trimmed(line);
    if (text.size() < 2 || text.front() != '[')
        return false;
    const std::size_t close = text.find(']');
    if (close == std::string::npos)
        return false;
    name = Trimmed(text.substr(1, close - 1));
    return true;
}

// Splits a "key=value" line; comment lines and lines without '=' hold no key.
bool KeyOf(const std::string& line, std::string& key, std::string& value)
{
    const std::string text = Trimmed(line);
    const std::size_t equals = text.find('=');
    if (text.empty() || text[0] == ';' || text[0] == '#' || equals == std::string::npos)
        return false;
    key = Trimmed(text.substr(0, equals));
    value = Trimmed(text.substr(equals + 1));
    return !key.empty();
}

bool WriteAll(int fd, const std::string& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = write(fd, content.data() + done, content.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

// Puts `content` in place of the file: a temporary file in the same folder is written
// and flushed to disk, then renamed over the old one, which stays untouched on failure.
void ReplaceFile(const std::string& path, const std::string& content, bool existed, mode_t mode)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        Fail("Не удалось записать файл", path, errno);
    if (!existed) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written = WriteAll(fd, content) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    const int error = errno;
    if (close(fd) != 0 || !written) {
        const int closeError = written ? errno : error;
        unlink(temporary.c_str());
        Fail("Не удалось записать файл", path, closeError);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        unlink(temporary.c_str());
        Fail("Не удалось записать файл", path, renameError);
    }
    // The rename itself is made durable too, so a power cut cannot bring the old file back
    // after the program said nothing went wrong.
    if (const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

void CheckName(const std::string& what, const std::string& name, const char* forbidden)
{
    if (name.empty() || Trimmed(name) != name || name.find_first_of(forbidden) != std::string::npos)
        throw Exception("Недопустимое имя " + what + " INI-файла: " + Quoted(name));
}

} // namespace

std::string TStrings::GetValue(const std::string& name) const
{
    for (const std::string& line : lines_) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && SameName(line.substr(0, equals), name))
            return line.substr(equals + 1);
    }
    return {};
}

TIniFile::TIniFile(const std::string& fileName)
    : path_(fileName.find('/') == std::string::npos ? ConfigFolder() + "/" + fileName : fileName)
{
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings* values) const
{
    bool exists = false;
    mode_t mode = 0;
    std::string current, key, value;
    bool inSection = false;
    for (const std::string& line : ReadLines(path_, exists, mode)) {
        if (SectionOf(line, current))
            inSection = SameName(current, section);
        else if (inSection && KeyOf(line, key, value))
            values->Add(key + "=" + value);
    }
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    CheckName("раздела", section, "]\r\n");
    CheckName("ключа", key, "=\r\n");
    if (key[0] == '[' || key[0] == ';' || key[0] == '#')
        throw Exception("Недопустимое имя ключа INI-файла: " + Quoted(key));
    if (value.find_first_of("\r\n") != std::string::npos)
        throw Exception("Значение ключа " + Quoted(key) + " занимает несколько строк, а в файле "
                        + Quoted(path_) + " оно должно уместиться в одну");

    const std::size_t slash = path_.rfind('/');
    if (slash != std::string::npos && slash > 0)
        MakeFolders(path_.substr(0, slash), path_);

    bool exists = false;
    mode_t mode = 0;
    std::vector<std::string> lines = ReadLines(path_, exists, mode);
    // A file written with CRLF line ends gets CRLF on the lines added to it too.
    const std::string lineEnd = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r' ? "\r" : "";
    const std::string newLine = key + "=" + value + lineEnd;

    // The first line of the key in any section of that name is the one a read finds.
    std::size_t sectionEnd = std::string::npos; // after the last key of the first such section
    bool replaced = false, inSection = false, firstSection = true;
    std::string current, name, old;
    for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
        if (SectionOf(lines[i], current)) {
            if (inSection)
                firstSection = false;
            inSection = SameName(current, section);
            if (inSection && sectionEnd == std::string::npos)
                sectionEnd = i + 1;
        } else if (inSection && KeyOf(lines[i], name, old) && SameName(name, key)) {
            const bool crlf = !lines[i].empty() && lines[i].back() == '\r';
            lines[i] = key + "=" + value + (crlf ? "\r" : "");
            replaced = true;
        } else if (inSection && firstSection && !Trimmed(lines[i]).empty()) {
            sectionEnd = i + 1;
        }
    }
    if (!replaced && sectionEnd != std::string::npos) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), newLine);
    } else if (!replaced) {
        lines.push_back("[" + section + "]" + lineEnd);
        lines.push_back(newLine);
    }

    std::string content;
    for (const std::string& line : lines)
        content += line + "\n";
    ReplaceFile(path_, content, exists, mode);
}
