// The INI service: parsing lines, finding sections and keys, and replacing the file
// atomically on every write.
#include "shell/IniFiles.h"

#include "shell/Files.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdlib>
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

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error)
{
    throw Exception(what + " " + Quoted(path) + ": " + SystemReason(error));
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

// The byte-order mark Windows editors put at the start of a UTF-8 file.
const std::string ByteOrderMark = "\xEF\xBB\xBF";

// What a file held: its lines without their '\n' (none when it does not exist), and
// whether it exists, its mode, and whether it began with a byte-order mark.
struct FileLines {
    std::vector<std::string> lines;
    bool exists = false;
    mode_t mode = 0;
    bool byteOrderMark = false;
};

// Reads a file's lines. Anything but a regular file (a pipe, a device, a folder, a link to
// one of them) is refused unread.
FileLines ReadLines(const std::string& path)
{
    FileLines read;
    const OpenedFile file = OpenForReading(path, "INI-файл", path, true);
    if (!file.handle.Valid())
        return read;
    if (file.status.st_size > MaxIniSize)
        throw Exception("Файл " + Quoted(path) + " слишком велик для INI-файла ("
                        + std::to_string(file.status.st_size / (1 << 20)) + " МБ)");
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.handle.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail("Не удалось прочитать файл", path, errno);
        if (got == 0)
            break;
        // A file growing while it is read is held to the same bound.
        if (content.size() + std::size_t(got) > std::size_t(MaxIniSize))
            throw Exception("Файл " + Quoted(path) + " слишком велик для INI-файла");
        content.append(buffer, std::size_t(got));
    }
    read.exists = true;
    read.mode = file.status.st_mode & 07777;
    read.byteOrderMark = content.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0;

    std::vector<std::string>& lines = read.lines;
    std::size_t start = read.byteOrderMark ? ByteOrderMark.size() : 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return read;
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

// Writes all of `content`; returns 0 or the error number of the write that failed.
int WriteAll(int fd, const std::string& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = write(fd, content.data() + done, content.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return errno;
        if (wrote == 0)
            return EIO; // no progress and no error number: the disk took nothing
        done += std::size_t(wrote);
    }
    return 0;
}

// The file a write replaces: the file itself, or the file a symbolic link leads to, so
// that a linked file gets the new values and the link stays a link.
std::string WriteTarget(const std::string& path)
{
    struct stat own {};
    if (lstat(path.c_str(), &own) != 0 || !S_ISLNK(own.st_mode))
        return path;
    char target[PATH_MAX];
    if (!realpath(path.c_str(), target))
        Fail("Не удалось записать файл", path, errno);
    return target;
}

// Puts `content` in place of the file at `target`: a temporary file in the same folder is
// written and flushed to disk, then renamed over the old one, which stays untouched on
// failure. Messages name `path`, the name the program asked for.
void ReplaceFile(const std::string& path, const std::string& target, const std::string& content, bool existed,
                 mode_t mode)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    std::string temporary = target + ".XXXXXX";
    FileHandle file(mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.Valid())
        Fail("Не удалось записать файл", path, errno);
    if (!existed) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    int error = WriteAll(file.Get(), content);
    if (error == 0 && fchmod(file.Get(), mode) != 0)
        error = errno;
    if (error == 0 && fsync(file.Get()) != 0)
        error = errno;
    if (const int closeError = file.Close(); error == 0)
        error = closeError;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        Fail("Не удалось записать файл", path, error);
    }
    // The rename itself is made durable too, so a power cut cannot bring the old file back
    // after the program said nothing went wrong.
    if (const FileHandle dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.Valid())
        fsync(dir.Get());
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
    std::string current, key, value;
    bool inSection = false;
    for (const std::string& line : ReadLines(path_).lines) {
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

    // Reading first refuses a name that leads anywhere but to a regular file (a link to
    // /dev/null, a pipe), so nothing is ever written there.
    FileLines file = ReadLines(path_);
    std::vector<std::string>& lines = file.lines;
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

    // A byte-order mark the file began with stays; none is added to a file without one.
    std::string content = file.byteOrderMark ? ByteOrderMark : "";
    for (const std::string& line : lines)
        content += line + "\n";
    ReplaceFile(path_, WriteTarget(path_), content, file.exists, file.mode);
}
