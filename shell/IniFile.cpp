// The INI service: parsing lines, finding sections and keys, and replacing the file
// atomically on every write.
#include "shell/IniFile.h"

#include "shell/Files.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file larger than this is not an INI file a person keeps; it is refused rather than
// read into memory.
constexpr off_t MaxIniSize = 64 << 20;

// Blanks around names and values, and before a section's '[', are not part of them.
bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && Blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && Blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Names match byte for byte, ASCII letters in either case. Every byte counts, a NUL too,
// and the locale plays no part, so a file reads the same under any language setting.
bool SameName(std::string_view a, std::string_view b)
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

// Why the folder `part` cannot hold the file: a link to a folder not made yet is named with
// where it leads; any other failure to look at it says what the system said.
std::string FolderReason(const std::string& part, int error)
{
    std::string target(PATH_MAX, '\0');
    const ssize_t length = error == ENOENT ? readlink(part.c_str(), target.data(), target.size()) : -1;
    if (length > 0)
        return Quoted(part) + " — ссылка на несуществующую папку " + Quoted(target.substr(0, std::size_t(length)));
    return SystemReason(error);
}

// Creates a folder and its missing parents.
void MakeFolders(const std::string& folder, const std::string& iniPath)
{
    const std::string what = "Не удалось создать папку для файла " + Quoted(iniPath) + ": ";
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0) {
            if (errno != EEXIST)
                throw Exception(what + FolderReason(part, errno));
            // The name exists, but it may be a file, a link to nothing or a loop of links.
            struct stat info;
            if (stat(part.c_str(), &info) != 0)
                throw Exception(what + FolderReason(part, errno));
            if (!S_ISDIR(info.st_mode))
                throw Exception(what + SystemReason(ENOTDIR));
        }
        if (slash == std::string::npos)
            break;
    }
}

// The byte-order mark Windows editors put at the start of a UTF-8 file.
const std::string ByteOrderMark = "\xEF\xBB\xBF";

// What a file held (nothing when it does not exist), whether it exists, what fstat said of
// it, and where its lines begin: after the byte-order mark it may begin with.
struct FileText {
    std::string content;
    bool exists = false;
    struct stat status {};
    std::size_t start = 0;
};

// Whether a file is still the one that was written: the same file, its size and the time
// of its last change. Any write by another program changes that time, a replacement the file.
bool Unchanged(const struct stat& now, const struct stat& written)
{
    return now.st_dev == written.st_dev && now.st_ino == written.st_ino && now.st_size == written.st_size
           && now.st_mtim.tv_sec == written.st_mtim.tv_sec && now.st_mtim.tv_nsec == written.st_mtim.tv_nsec;
}

// Reads a file whole; or takes `last`, what the last write left, when the file is still as
// that write left it. Anything but a regular file (a pipe, a device, a folder, a link to
// one of them) is refused unread. Messages name `shownName`.
FileText ReadText(const std::string& path, const std::string& shownName, FileText* last = nullptr)
{
    FileText read;
    const OpenedFile file = OpenForReading(path, "INI-файл", shownName, true);
    if (!file.handle.Valid())
        return read;
    if (last && last->exists && Unchanged(file.status, last->status)) {
        read = std::move(*last);
        read.status = file.status;
        return read;
    }
    if (file.status.st_size > MaxIniSize)
        throw Exception("Файл " + Quoted(shownName) + " слишком велик для INI-файла ("
                        + std::to_string(file.status.st_size / (1 << 20)) + " МБ)");
    // The size is read to the end, not taken from fstat: a file growing while it is read
    // is held to the same bound, and files in /proc say 0 and hold data.
    read.content.reserve(std::size_t(file.status.st_size) + 1);
    const int error = ReadToEnd(file.handle.Get(), MaxIniSize, read.content);
    if (error == EFBIG)
        throw Exception("Файл " + Quoted(shownName) + " слишком велик для INI-файла");
    if (error != 0)
        Fail("Не удалось прочитать файл", shownName, error);
    read.exists = true;
    read.status = file.status;
    if (read.content.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0)
        read.start = ByteOrderMark.size();
    return read;
}

// Walks the lines of a text, each without its '\n', and tells where each lies, so that a
// write can change one line of a large file without taking the rest apart.
class LineWalk {
public:
    LineWalk(const std::string& text, std::size_t start) : text_(text), next_(start) {}

    // The next line; with `sectionsOnly`, the next that begins with '[' after blanks: outside
    // the section looked for no other line matters, and a large file is passed over at the
    // speed of memchr.
    bool Next(std::string_view& line, bool sectionsOnly)
    {
        if (sectionsOnly)
            SkipToSection();
        if (next_ >= text_.size())
            return false;
        begin_ = next_;
        const std::size_t end = std::min(text_.find('\n', begin_), text_.size());
        next_ = end + 1;
        line = std::string_view(text_).substr(begin_, end - begin_);
        return true;
    }
    std::size_t Begin() const { return begin_; }
    // Where the line after this one begins.
    std::size_t After() const { return next_; }

private:
    void SkipToSection()
    {
        for (std::size_t at = text_.find('[', next_); at != std::string::npos; at = text_.find('[', at + 1)) {
            std::size_t begin = at;
            while (begin > next_ && Blank(text_[begin - 1]))
                --begin;
            if (begin == next_ || text_[begin - 1] == '\n') {
                next_ = begin;
                return;
            }
        }
        next_ = text_.size();
    }

    const std::string& text_;
    std::size_t next_, begin_ = 0;
};

// The section name of a "[name]" line, or nothing for any other line.
bool SectionOf(std::string_view line, std::string_view& name)
{
    const std::string_view text = Trimmed(line);
    if (text.size() < 2 || text.front() != '[')
        return false;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trimmed(text.substr(1, close - 1));
    return true;
}

// Splits a "key=value" line; comment lines and lines without '=' hold no key.
bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value)
{
    const std::string_view text = Trimmed(line);
    const std::size_t equals = text.find('=');
    if (text.empty() || text[0] == ';' || text[0] == '#' || equals == std::string_view::npos)
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

// The file a write replaces: the file itself, or the file a symbolic link leads to through
// any chain of links, so that a linked file gets the new values and the link stays a link.
// A link to a file not made yet leads to the name the file is to be made under.
std::string WriteTarget(const std::string& path)
{
    constexpr int MaxLinks = 40; // as many as the system follows in one path
    std::string target = path;
    for (int links = 0;; ++links) {
        struct stat own {};
        if (lstat(target.c_str(), &own) != 0 || !S_ISLNK(own.st_mode))
            return target;
        if (links == MaxLinks)
            Fail("Не удалось записать файл", path, ELOOP);
        std::string next(std::size_t(std::max<off_t>(own.st_size, PATH_MAX)), '\0');
        const ssize_t length = readlink(target.c_str(), next.data(), next.size());
        if (length <= 0)
            return target;
        next.resize(std::size_t(length));
        const std::size_t slash = target.rfind('/');
        target = next[0] == '/' || slash == std::string::npos ? next : target.substr(0, slash + 1) + next;
    }
}

// A name for the temporary file beside `target`: the target's name and ".XXXXXX" for
// mkostemp, the name cut short (at a whole UTF-8 character) where both together would be
// longer than a name can be.
std::string TemporaryName(const std::string& target)
{
    const std::string suffix = ".XXXXXX";
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t length = target.size() - nameStart;
    if (length + suffix.size() > NAME_MAX) {
        length = NAME_MAX - suffix.size();
        while (length > 0 && (target[nameStart + length] & 0xC0) == 0x80)
            --length;
    }
    return target.substr(0, nameStart + length) + suffix;
}

// Under a file-size limit the system ends a program whose write passes the limit with
// SIGXFSZ, unless the signal is ignored: then the write fails with EFBIG, and the failure
// is reported like any other.
void IgnoreFileSizeSignal()
{
    struct sigaction current {};
    if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        signal(SIGXFSZ, SIG_IGN);
}

// Puts `content` in place of the file at `target`: a temporary file in the same folder is
// written and flushed to disk, then renamed over the old one, which stays untouched on
// failure. Messages name `path`, the name the program asked for. Returns what fstat says of
// the new file.
struct stat ReplaceFile(const std::string& path, const std::string& target, const std::string& content,
                        bool existed, mode_t mode)
{
    IgnoreFileSizeSignal();
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    std::string temporary = TemporaryName(target);
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
    struct stat written {};
    if (error == 0 && fstat(file.Get(), &written) != 0)
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
    // after the program said nothing went wrong. Its result is not checked: the new file
    // has already replaced the old one, and some file systems refuse fsync on a folder, so
    // a failure here would report a save that did take place as failed.
    if (const FileHandle dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.Valid())
        fsync(dir.Get());
    return written;
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
        if (equals != std::string::npos && SameName(std::string_view(line).substr(0, equals), name))
            return line.substr(equals + 1);
    }
    return {};
}

struct TIniFile::Written {
    FileText file;
};

TIniFile::TIniFile(const std::string& fileName)
    : path_(fileName.find('/') == std::string::npos ? ConfigFolder() + "/" + fileName : fileName)
{
}

TIniFile::~TIniFile() = default;

void TIniFile::ReadSectionValues(const std::string& section, TStrings* values) const
{
    const FileText file = ReadText(path_, path_);
    LineWalk lines(file.content, file.start);
    std::string_view line, current, key, value;
    bool inSection = false;
    while (lines.Next(line, !inSection)) {
        if (SectionOf(line, current))
            inSection = SameName(current, section);
        else if (inSection && KeyOf(line, key, value))
            values->Add(std::string(key) + "=" + std::string(value));
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
    // /dev/null, a pipe), so nothing is ever written there. A link to a file not made yet
    // reads as no file, and the file is made where it leads.
    const std::string target = WriteTarget(path_);
    struct stat seen {};
    const bool notMadeYet = target != path_ && lstat(target.c_str(), &seen) != 0 && errno == ENOENT;
    FileText file = ReadText(notMadeYet ? target : path_, path_, written_ ? &written_->file : nullptr);
    written_.reset();
    std::string& text = file.content;
    // Every line ends with '\n' once written, the last one too.
    if (text.size() > file.start && text.back() != '\n')
        text += '\n';
    // A file written with CRLF line ends gets CRLF on the lines added to it too.
    const std::size_t firstEnd = text.find('\n', file.start);
    const std::string lineEnd = firstEnd != std::string::npos && firstEnd > file.start && text[firstEnd - 1] == '\r'
                                    ? "\r"
                                    : "";
    const std::string newLine = key + "=" + value;

    // The first line of the key in any section of that name is the one a read finds. Only
    // that line changes, or one line is added; the rest of the text stays where it is.
    std::size_t sectionEnd = std::string::npos; // after the last key of the first such section
    bool replaced = false, inSection = false, firstSection = true;
    LineWalk lines(text, file.start);
    std::string_view line, current, name, old;
    while (!replaced && lines.Next(line, !inSection)) {
        if (SectionOf(line, current)) {
            if (inSection)
                firstSection = false;
            inSection = SameName(current, section);
            if (inSection && sectionEnd == std::string::npos)
                sectionEnd = lines.After();
        } else if (inSection && KeyOf(line, name, old) && SameName(name, key)) {
            const bool crlf = !line.empty() && line.back() == '\r';
            text.replace(lines.Begin(), line.size(), newLine + (crlf ? "\r" : ""));
            replaced = true;
        } else if (inSection && firstSection && !Trimmed(line).empty()) {
            sectionEnd = lines.After();
        }
    }
    if (!replaced && sectionEnd != std::string::npos)
        text.insert(sectionEnd, newLine + lineEnd + "\n");
    else if (!replaced)
        text += "[" + section + "]" + lineEnd + "\n" + newLine + lineEnd + "\n";
    file.status = ReplaceFile(path_, target, text, file.exists, file.status.st_mode & 07777);
    file.exists = true;
    written_ = std::make_unique<Written>(Written{std::move(file)});
}
