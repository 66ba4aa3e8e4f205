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
#include <cstring>
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

// How much of a file is read at a time. Fuzz builds read through a tiny window, so that
// inputs of a few hundred bytes already cross windows, lines and all.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr std::size_t Window = 16;
#else
constexpr std::size_t Window = 256 << 10;
#endif

// Opens an INI file to read, refusing anything but a regular file unread (a pipe, a device,
// a folder, a link to one of them) and a file that says it is too large. A file that does
// not exist gives an invalid handle. Messages name `shownName`.
OpenedFile OpenIni(const std::string& path, const std::string& shownName)
{
    OpenedFile file = OpenForReading(path, "INI-файл", shownName, true);
    if (file.handle.Valid() && file.status.st_size > MaxIniSize)
        throw Exception("Файл " + Quoted(shownName) + " слишком велик для INI-файла ("
                        + std::to_string(file.status.st_size / (1 << 20)) + " МБ)");
    return file;
}

// Reads an open file from its start to its end in windows of whole lines, through one
// buffer used again for every window: a large file is passed through, never held, so it
// costs no fresh memory to page in (only a line longer than the buffer makes it grow).
// Each window ends with '\n', the file's last line getting one when it lacks it. The size
// fstat gives is not trusted: files in /proc say 0 and hold data, and a file growing while
// it is read is held to the same bound.
class LineReader {
public:
    LineReader(int fd, const std::string& shownName) : fd_(fd), shownName_(shownName), buffer_(Window, '\0') {}

    bool Next(std::string_view& window)
    {
        std::memmove(buffer_.data(), buffer_.data() + used_, filled_ - used_);
        filled_ -= used_;
        offset_ += used_;
        used_ = 0;
        // What is left of the last window holds no '\n': only what is read after it is looked at.
        for (std::size_t searched = filled_;;) {
            if (const void* end = memrchr(buffer_.data() + searched, '\n', filled_ - searched)) {
                used_ = std::size_t(static_cast<const char*>(end) - buffer_.data()) + 1;
                break;
            }
            searched = filled_;
            if (ended_) {
                if (filled_ == 0)
                    return false;
                // The last line lacks its '\n'; a byte-order mark alone is no line.
                if (offset_ + filled_ > start_) {
                    Reserve(1);
                    buffer_[filled_++] = '\n';
                }
                used_ = filled_;
                break;
            }
            Reserve(1);
            const ssize_t got = read(fd_, buffer_.data() + filled_, buffer_.size() - filled_);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                Fail("Не удалось прочитать файл", shownName_, errno);
            if (offset_ + filled_ + std::size_t(got) > std::size_t(MaxIniSize))
                throw Exception("Файл " + Quoted(shownName_) + " слишком велик для INI-файла");
            filled_ += std::size_t(got);
            ended_ = got == 0;
            if (offset_ == 0 && filled_ >= ByteOrderMark.size())
                start_ = ByteOrderMark.compare(0, std::string::npos, buffer_.data(), ByteOrderMark.size()) == 0
                             ? ByteOrderMark.size()
                             : 0;
        }
        window = std::string_view(buffer_.data(), used_);
        return true;
    }
    // Where the window lies in the file.
    std::size_t Offset() const { return offset_; }
    // Where the window's first line begins: after the byte-order mark the file may begin with.
    std::size_t LinesStart() const { return offset_ == 0 ? start_ : 0; }

private:
    void Reserve(std::size_t more)
    {
        if (filled_ + more > buffer_.size())
            buffer_.resize(buffer_.size() * 2);
    }

    int fd_;
    const std::string& shownName_;
    std::string buffer_;
    std::size_t filled_ = 0, used_ = 0, offset_ = 0, start_ = 0;
    bool ended_ = false;
};

// Whether a file is still the one that was written: the same file, its size and the time
// of its last change. Any write by another program changes that time, a replacement the file.
bool Unchanged(const struct stat& now, const struct stat& written)
{
    return now.st_dev == written.st_dev && now.st_ino == written.st_ino && now.st_size == written.st_size
           && now.st_mtim.tv_sec == written.st_mtim.tv_sec && now.st_mtim.tv_nsec == written.st_mtim.tv_nsec;
}

// What a write knows of the file it left: where the key lines of the section it wrote lie.
// The writes after it (a save is several writes to one section) need not read the file
// again while it stays as that write left it: they copy it around the one line they change.
struct KnownLines {
    struct Key {
        std::string name;
        std::size_t begin, length; // the line without its '\n'
        bool crlf;                 // the line ends with "\r\n"
    };
    // A section of more lines than this is not kept: a file like that is read again.
    static constexpr std::size_t MostKeys = 1000, MostNameBytes = 64 << 10;

    struct stat status {}; // the file as written: device, inode, size, time of change
    std::string section, lineEnd;
    std::size_t sectionEnd = std::string::npos; // after the last key of the first such section
    std::vector<Key> keys; // every key line of every section of that name, in file order
    std::size_t nameBytes = 0;

    void Add(std::string_view name, std::size_t begin, std::string_view line)
    {
        nameBytes += name.size();
        keys.push_back({std::string(name), begin, line.size(), !line.empty() && line.back() == '\r'});
    }
    bool Kept() const { return keys.size() <= MostKeys && nameBytes <= MostNameBytes; }

    // The first line of `name`: the one a read finds.
    std::vector<Key>::iterator Find(std::string_view name)
    {
        return std::find_if(keys.begin(), keys.end(), [&](const Key& key) { return SameName(key.name, name); });
    }

    // The line of `name` now holds `length` bytes; a key without a line got one of `length`
    // bytes and its '\n' at the end of the first section. The lines after it move along (the
    // unsigned sums wrap round where a line got shorter, and come out right).
    void Change(std::string_view name, std::size_t length)
    {
        auto key = Find(name);
        std::size_t after = sectionEnd, moved = length + 1;
        if (key != keys.end()) {
            after = key->begin + key->length;
            moved = length - key->length;
            key++->length = length;
        } else {
            key = std::find_if(keys.begin(), keys.end(), [&](const Key& line) { return line.begin >= after; });
            key = keys.insert(key, {std::string(name), after, length, !lineEnd.empty()}) + 1;
            nameBytes += name.size();
        }
        for (; key != keys.end(); ++key)
            key->begin += moved;
        if (sectionEnd >= after)
            sectionEnd += moved;
    }
};

// Walks the lines of a text, each without its '\n', and tells where each lies, so that a
// write can change one line of a large file without taking the rest apart.
class LineWalk {
public:
    LineWalk(std::string_view text, std::size_t start) : text_(text), next_(start) {}

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
        line = text_.substr(begin_, end - begin_);
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

    std::string_view text_;
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

// A new file written beside the one it is to replace, at `target`: written and flushed to
// disk, then renamed over the old one, which stays untouched on any failure; the new file is
// removed then. Messages name `path`, the name the program asked for.
class Replacement {
public:
    Replacement(const std::string& path, const std::string& target)
        : path_(path), target_(target), temporary_(TemporaryName(target))
    {
        IgnoreFileSizeSignal();
        file_ = FileHandle(mkostemp(temporary_.data(), O_CLOEXEC));
        if (!file_.Valid())
            Fail("Не удалось записать файл", path_, errno);
    }
    ~Replacement()
    {
        if (!done_)
            unlink(temporary_.c_str());
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    std::size_t Size() const { return size_; }

    // Adds `data` at the end of what is written.
    void Write(std::string_view data)
    {
        Put(data, size_);
        size_ += data.size();
    }

    // Puts `data` at `at`, moving everything written after it along: from the end back, a
    // window at a time, so that nothing is overwritten before it has moved.
    void Insert(std::size_t at, std::string_view data)
    {
        std::string moving(Window, '\0');
        for (std::size_t end = size_; end > at;) {
            const std::size_t length = std::min(moving.size(), end - at);
            end -= length;
            if (const int error = ReadAt(file_.Get(), std::int64_t(end), length, moving.data()))
                Fail("Не удалось записать файл", path_, error);
            Put(std::string_view(moving.data(), length), end + data.size());
        }
        Put(data, at);
        size_ += data.size();
    }

    // Copies `length` bytes of the file `source` from `from` to the end of what is written:
    // within the kernel where the file system can, else through memory. false when the
    // file ends first.
    bool Copy(int source, std::size_t from, std::size_t length)
    {
        loff_t in = loff_t(from), out = loff_t(size_);
        while (length > 0 && inKernel_) {
            const ssize_t copied = copy_file_range(source, &in, file_.Get(), &out, length, 0);
            if (copied < 0 && errno == EINTR)
                continue;
            if (copied < 0 && (errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP || errno == ENOSYS))
                inKernel_ = false;
            else if (copied < 0)
                Fail("Не удалось записать файл", path_, errno);
            else if (copied == 0)
                return false;
            else
                length -= std::size_t(copied), size_ += std::size_t(copied);
        }
        std::string buffer(std::min(length, Window), '\0');
        while (length > 0) {
            const ssize_t got = pread(source, buffer.data(), std::min(length, buffer.size()), in);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                Fail("Не удалось прочитать файл", path_, errno);
            if (got == 0)
                return false;
            Write(std::string_view(buffer.data(), std::size_t(got)));
            in += got;
            length -= std::size_t(got);
        }
        return true;
    }

    // Gives the new file `mode` and puts it in place of the old one. Returns what fstat says
    // of the new file.
    struct stat Commit(mode_t mode)
    {
        int error = fchmod(file_.Get(), mode) != 0 ? errno : 0;
        if (error == 0 && fsync(file_.Get()) != 0)
            error = errno;
        struct stat written {};
        if (error == 0 && fstat(file_.Get(), &written) != 0)
            error = errno;
        if (const int closeError = file_.Close(); error == 0)
            error = closeError;
        if (error == 0 && rename(temporary_.c_str(), target_.c_str()) != 0)
            error = errno;
        if (error != 0)
            Fail("Не удалось записать файл", path_, error);
        done_ = true;
        // The rename itself is made durable too, so a power cut cannot bring the old file
        // back after the program said nothing went wrong. Its result is not checked: the new
        // file has already replaced the old one, and some file systems refuse fsync on a
        // folder, so a failure here would report a save that did take place as failed.
        const std::size_t slash = target_.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash == 0 ? 1 : slash);
        if (const FileHandle dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.Valid())
            fsync(dir.Get());
        return written;
    }

private:
    // Writes all of `data` at `at`.
    void Put(std::string_view data, std::size_t at)
    {
        for (std::size_t done = 0; done < data.size();) {
            const ssize_t wrote = pwrite(file_.Get(), data.data() + done, data.size() - done, off_t(at + done));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote < 0)
                Fail("Не удалось записать файл", path_, errno);
            if (wrote == 0)
                Fail("Не удалось записать файл", path_, EIO); // no progress and no error number: the disk took nothing
            done += std::size_t(wrote);
        }
    }

    const std::string& path_;
    const std::string target_;
    std::string temporary_;
    FileHandle file_;
    std::size_t size_ = 0;
    bool done_ = false, inKernel_ = true;
};

// Writes the file with the line of `key` changed to `newLine`, reading the old file as it
// goes, a window at a time; every line ends with '\n' in the copy, the last one too. The
// first line of the key in any section of that name is the one a read finds: only that line
// changes, or one line is added. Returns where the key lines of that section now lie.
KnownLines CopyRead(const OpenedFile& file, const std::string& shownName, Replacement& copy,
                    const std::string& section, const std::string& key, const std::string& newLine)
{
    KnownLines known;
    known.section = section;
    bool replaced = false, inSection = false, firstSection = true;
    LineReader reader(file.handle.Get(), shownName);
    std::string_view window, line, current, name, old;
    while (file.handle.Valid() && reader.Next(window)) {
        const std::size_t start = reader.LinesStart();
        // The first line tells how lines end (CRLF lines get CRLF lines added); the first
        // window holds it whole.
        if (const std::size_t end = window.find('\n', start); reader.Offset() == 0 && end != std::string::npos
                                                               && end > start && window[end - 1] == '\r')
            known.lineEnd = "\r";
        LineWalk lines(window, start);
        std::size_t copied = 0;
        while (lines.Next(line, !inSection)) {
            if (SectionOf(line, current)) {
                if (inSection)
                    firstSection = false;
                inSection = SameName(current, section);
                if (inSection && known.sectionEnd == std::string::npos)
                    known.sectionEnd = reader.Offset() + lines.After();
                continue;
            }
            const bool isKey = inSection && KeyOf(line, name, old);
            if (isKey && known.Kept())
                known.Add(name, reader.Offset() + lines.Begin(), line);
            if (isKey && !replaced && SameName(name, key)) {
                copy.Write(window.substr(0, lines.Begin()));
                copy.Write(newLine + (line.back() == '\r' ? "\r" : ""));
                copied = lines.Begin() + line.size();
                replaced = true;
            }
            if (inSection && firstSection && !Trimmed(line).empty())
                known.sectionEnd = reader.Offset() + lines.After();
        }
        copy.Write(window.substr(copied));
    }
    if (replaced) {
        if (known.Kept())
            known.Change(key, newLine.size() + (known.Find(key)->crlf ? 1 : 0));
        return known;
    }
    if (known.sectionEnd != std::string::npos) {
        copy.Insert(known.sectionEnd, newLine + known.lineEnd + "\n");
    } else {
        const std::string header = "[" + section + "]" + known.lineEnd + "\n";
        known.sectionEnd = copy.Size() + header.size();
        copy.Write(header + newLine + known.lineEnd + "\n");
    }
    known.Change(key, newLine.size() + known.lineEnd.size());
    return known;
}

// Writes the file with the line of `key` changed to `newLine` through what the last write
// left, `known`, while the file is still as it left it: the text before and after that line
// is copied as it stands. false when the file changed meanwhile.
bool CopyKnown(KnownLines& known, const OpenedFile& file, Replacement& copy, const std::string& key,
               const std::string& newLine)
{
    const auto line = known.Find(key);
    const bool found = line != known.keys.end(), crlf = found ? line->crlf : !known.lineEnd.empty();
    const std::size_t from = found ? line->begin : known.sectionEnd, to = found ? from + line->length : from;
    const int source = file.handle.Get();
    if (!copy.Copy(source, 0, from))
        return false;
    copy.Write(newLine + (crlf ? "\r" : "") + (found ? "" : "\n"));
    struct stat now {};
    if (!copy.Copy(source, to, std::size_t(known.status.st_size) - to) || fstat(source, &now) != 0
        || !Unchanged(now, known.status))
        return false;
    known.Change(key, newLine.size() + (crlf ? 1 : 0));
    return true;
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
    KnownLines lines;
};

TIniFile::TIniFile(const std::string& fileName)
    : path_(fileName.find('/') == std::string::npos ? ConfigFolder() + "/" + fileName : fileName)
{
}

TIniFile::~TIniFile() = default;

void TIniFile::ReadSectionValues(const std::string& section, TStrings* values) const
{
    const OpenedFile file = OpenIni(path_, path_);
    if (!file.handle.Valid())
        return;
    // The values are added once the whole file has been read: a file that fails half-way
    // adds nothing.
    TStringList found;
    LineReader reader(file.handle.Get(), path_);
    std::string_view window, line, current, key, value;
    bool inSection = false;
    while (reader.Next(window)) {
        LineWalk lines(window, reader.LinesStart());
        while (lines.Next(line, !inSection)) {
            if (SectionOf(line, current))
                inSection = SameName(current, section);
            else if (inSection && KeyOf(line, key, value))
                found.Add(std::string(key) + "=" + std::string(value));
        }
    }
    for (int i = 0; i < found.Count(); ++i)
        values->Add(found.Strings(i));
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

    // Opening first refuses a name that leads anywhere but to a regular file (a link to
    // /dev/null, a pipe), so nothing is ever written there. A link to a file not made yet
    // opens as no file, and the file is made where it leads.
    const std::string target = WriteTarget(path_);
    struct stat seen {};
    const bool notMadeYet = target != path_ && lstat(target.c_str(), &seen) != 0 && errno == ENOENT;
    const std::string newLine = key + "=" + value;
    std::unique_ptr<Written> known = std::move(written_);
    while (true) {
        const OpenedFile file = OpenIni(notMadeYet ? target : path_, path_);
        Replacement copy(path_, target);
        if (known && file.handle.Valid() && SameName(known->lines.section, section)
            && Unchanged(file.status, known->lines.status)) {
            if (!CopyKnown(known->lines, file, copy, key, newLine)) {
                known.reset(); // changed by someone else while it was copied: read it as it is now
                continue;
            }
        } else {
            known = std::make_unique<Written>(Written{CopyRead(file, path_, copy, section, key, newLine)});
        }
        mode_t mode = file.status.st_mode & 07777;
        if (!file.handle.Valid()) {
            const mode_t mask = umask(0);
            umask(mask);
            mode = 0666 & ~mask;
        }
        known->lines.status = copy.Commit(mode);
        if (known->lines.Kept())
            written_ = std::move(known);
        return;
    }
}
