// The INI service: what a write leaves in the file, what a read finds, where a bare name
// goes, and that a failed or killed write never damages the file.
#include "shell/IniFile.h"
#include "tests/support/TemporaryFolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

class IniFiles : public TemporaryFolder {
protected:
    std::string Path(const std::string& name = "prog.ini") const { return folder.path().toStdString() + "/" + name; }
    void Put(const std::string& content, const std::string& name = "prog.ini") const
    {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::string Content(const std::string& name = "prog.ini") const
    {
        std::ifstream file(Path(name), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }
    std::vector<std::string> Section(const std::string& section) const
    {
        TStringList lines;
        TIniFile(Path()).ReadSectionValues(section, &lines);
        std::vector<std::string> result;
        for (int i = 0; i < lines.Count(); ++i)
            result.push_back(lines.Strings(i));
        return result;
    }

    // What a write says when it fails; nothing when it succeeds.
    static std::string WriteFailure(const std::string& path)
    {
        try {
            TIniFile(path).WriteString("Size", "Top", "2");
        } catch (const Exception& failure) {
            return failure.Message();
        }
        return {};
    }
};

struct Write {
    const char* section; // nullptr: another program puts `value` in the file
    const char* key;
    const char* value;
};

struct WriteCase {
    const char* what;
    const char* before; // nullptr: no file
    std::vector<Write> writes;
    const char* after;
};

} // namespace

TEST_F(IniFiles, WritesChangeTheirOwnLineAndKeepEveryOther)
{
    // Larger than what is read at a time, with a line longer than that too.
    std::string pad = "long=";
    for (int key = 0; pad.size() < 300000; ++key)
        pad += std::to_string(key) + ",";
    for (int key = 0; key < 30000; ++key)
        pad += "\nk" + std::to_string(key) + "=v";
    pad += "\n";
    const std::string large = "[Size]\nTop=1\n[Pad]\n" + pad + "[Size]\nLeft=1";
    const std::string largeAfter = "[Size]\nTop=1\nWidth=3\n[Pad]\n" + pad + "[Size]\nLeft=2\n";
    const WriteCase cases[] = {
        {"a new file", nullptr,
         {{"Size", "Top", "174"}, {"Size", "Left", "212"}, {"Size", "Height", "480"}, {"Size", "Width", "696"}},
         "[Size]\nTop=174\nLeft=212\nHeight=480\nWidth=696\n"},
        {"saving twice", "[Size]\nTop=1\nLeft=2\n", {{"Size", "Top", "-8"}, {"Size", "Left", "3"}, {"Size", "Top", "9"}},
         "[Size]\nTop=9\nLeft=3\n"},
        {"other keys, order and sections kept",
         "; bounds\n[Other]\nTop=x\n[Size]\nWidth=1\nExtra=yes\nTop=2\n\n[Tail]\nk=v\n",
         {{"Size", "Top", "5"}, {"Size", "Left", "6"}},
         "; bounds\n[Other]\nTop=x\n[Size]\nWidth=1\nExtra=yes\nTop=5\nLeft=6\n\n[Tail]\nk=v\n"},
        {"names in any letter case, blanks around them", "x=[\n \t[ size ]\n  TOP = 1 \n", {{"Size", "Top", "2"}},
         "x=[\n \t[ size ]\nTop=2\n"},
        {"a section twice: its first key, else the end of the first",
         "[Size]\nLeft=1\n[X]\n[Size]\nTop=2\n", {{"Size", "Top", "3"}, {"Size", "Width", "4"}},
         "[Size]\nLeft=1\nWidth=4\n[X]\n[Size]\nTop=3\n"},
        {"CRLF line ends", "[Size]\r\nTop=1\r\n", {{"Size", "Top", "2"}, {"Size", "Left", "3"}, {"text", "edit1", ""}},
         "[Size]\r\nTop=2\r\nLeft=3\r\n[text]\r\nedit1=\r\n"},
        {"no newline at the end", "[Size]\nTop=1", {{"Size", "Left", "2"}}, "[Size]\nTop=1\nLeft=2\n"},
        {"garbage and broken text kept", "\x01\xff\xfe[\n[Size\n=x\n[Size]\nTop\n", {{"Size", "Top", "7"}},
         "\x01\xff\xfe[\n[Size\n=x\n[Size]\nTop\nTop=7\n"},
        {"values as given", nullptr, {{"text", "edit1", "  Привет = мир  "}}, "[text]\nedit1=  Привет = мир  \n"},
        {"a byte-order mark kept, its section found", "\xEF\xBB\xBF[Size]\r\nTop=1\r\n", {{"Size", "Top", "2"}},
         "\xEF\xBB\xBF[Size]\r\nTop=2\r\n"},
        {"a mark only at the very start counts", "[Size]\n\xEF\xBB\xBF[Size]\n", {{"Size", "Top", "2"}},
         "[Size]\n\xEF\xBB\xBF[Size]\nTop=2\n"},
        {"a large file", large.c_str(), {{"Size", "Left", "2"}, {"Size", "Width", "3"}}, largeAfter.c_str()},
        {"a change by another program between writes", "[Size]\nTop=1\n",
         {{"Size", "Top", "2"}, {nullptr, nullptr, "[Size]\nLeft=5\nTop=9\n"}, {"Size", "Top", "3"}},
         "[Size]\nLeft=5\nTop=3\n"},
    };
    for (const WriteCase& c : cases) {
        std::remove(Path().c_str());
        if (c.before)
            Put(c.before);
        TIniFile ini(Path());
        for (const Write& w : c.writes)
            w.section ? ini.WriteString(w.section, w.key, w.value) : Put(w.value);
        EXPECT_EQ(Content(), c.after) << c.what;
    }
}

// Names are compared byte by byte (ASCII letters in either case): two names that differ
// only after a NUL byte are two names, so a write never takes over another key's line.
TEST_F(IniFiles, NamesThatDifferAfterANulByteAreNotTheSame)
{
    using namespace std::string_literals;
    Put("[Size]\n\0a=1\n"s);
    TIniFile ini(Path());
    ini.WriteString("Size", "\0b"s, "2");
    EXPECT_EQ(Content(), "[Size]\n\0a=1\n\0b=2\n"s);
    TStringList lines;
    ini.ReadSectionValues("Size", &lines);
    EXPECT_EQ(lines.GetValue("\0a"s), "1");
    EXPECT_EQ(lines.GetValue("\0b"s), "2");
    EXPECT_EQ(lines.GetValue("\0A"s), "1") << "letters still match in either case";
}

TEST_F(IniFiles, ReadsFindKeysByNameAndNeverCreateAFile)
{
    EXPECT_TRUE(Section("Size").empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path()))) << "reading created the file";

    Put("Top=0\n[size]\n Top = -8 \nbroken line\n;Left=1\n[Other]\nLeft=2\n[SIZE]\r\nWidth=3\r\nHeight\xff=4");
    EXPECT_EQ(Section("Size"), (std::vector<std::string>{"Top=-8", "Width=3", "Height\xff=4"}));
    TStringList lines;
    TIniFile(Path()).ReadSectionValues("Size", &lines);
    EXPECT_EQ(lines.Values("top"), "-8");
    EXPECT_EQ(lines.Values("Left"), "") << "a key of another section";

    // A file saved by a Windows editor begins with a byte-order mark.
    Put("\xEF\xBB\xBF[Size]\r\nTop=1\r\nLeft=2\r\nHeight=3\r\nWidth=4\r\n");
    EXPECT_EQ(Section("Size"), (std::vector<std::string>{"Top=1", "Left=2", "Height=3", "Width=4"}));

    Put("[Size]\nTop=" + std::string(10 << 20, '1') + "\n");
    EXPECT_EQ(Section("Size").at(0).size(), (10u << 20) + 4);
}

// A file kept elsewhere and linked in (a dotfiles folder), made or not yet, with a name of
// any length, gets the new values; the link stays, the mode too, and no temporary file.
TEST_F(IniFiles, AWriteThroughALinkReplacesTheLinkedFileAndKeepsTheLink)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("dotfiles"));
    const std::string longest = "x" + QString(127, QChar(0x44F)).toStdString(); // 255 bytes, as long as names go
    const struct { const char* what; std::string linked; bool exists; } links[] = {
        {"a linked file", "dotfiles/prog.ini", true},
        {"a file not made yet", "dotfiles/new.ini", false},
        {"a linked file with the longest name", "dotfiles/" + longest, true},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.what);
        if (link.exists) {
            Put("[Size]\nTop=1\n", link.linked);
            chmod(Path(link.linked).c_str(), 0640);
        }
        std::remove(Path().c_str());
        ASSERT_EQ(symlink(link.linked.c_str(), Path().c_str()), 0);
        TIniFile(Path()).WriteString("Size", "Top", "2");
        struct stat own {}, linked {};
        ASSERT_EQ(lstat(Path().c_str(), &own), 0);
        EXPECT_TRUE(S_ISLNK(own.st_mode)) << "the link was replaced by a file";
        EXPECT_EQ(Content(link.linked), "[Size]\nTop=2\n");
        ASSERT_EQ(stat(Path(link.linked).c_str(), &linked), 0);
        EXPECT_TRUE(!link.exists || (linked.st_mode & 07777) == 0640u);
        std::remove(Path(link.linked).c_str());
        EXPECT_TRUE(QDir(folder.path() + "/dotfiles").isEmpty()) << "a temporary file was left";
    }
}

TEST_F(IniFiles, ABareNameLivesInTheProgramsConfigurationFolder)
{
    const std::string config = Path("config");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    const std::string expected = config + "/" + QCoreApplication::applicationName().toStdString() + "/prog.ini";
    TIniFile ini("prog.ini");
    EXPECT_EQ(ini.FileName(), expected);
    TStringList lines;
    ini.ReadSectionValues("Size", &lines);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(config))) << "reading created the folder";
    // What is created, folder and file, is no more open than the umask allows.
    const mode_t mask = umask(027);
    ini.WriteString("Size", "Top", "1");
    umask(mask);
    struct stat file {}, made {};
    ASSERT_EQ(stat(expected.c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
    ASSERT_EQ(stat(config.c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0750u);
    qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(IniFiles, AFailedWriteSaysWhyAndLeavesTheFileAsItWas)
{
    // Folders that cannot hold the file, even for root, each with its true reason.
    Put("x", "blocker");
    ASSERT_EQ(symlink("nowhere", Path("dangling").c_str()), 0);
    ASSERT_EQ(symlink("loop", Path("loop").c_str()), 0);
    const std::pair<const char*, const char*> folders[] = {
        {"blocker/sub", "часть пути не является папкой"},
        {"dangling", "dangling» — ссылка на несуществующую папку «nowhere»"},
        {"loop", "ссылки на пути ведут по кругу"},
    };
    for (const auto& [folder, reason] : folders) {
        const std::string path = Path(std::string(folder) + "/prog.ini"), failure = WriteFailure(path);
        EXPECT_NE(failure.find(path), std::string::npos) << failure;
        EXPECT_NE(failure.find(reason), std::string::npos) << failure;
    }

    // A file-size limit fails the write half-way, not with a signal; the old file stays whole.
    const std::string old = "[Size]\nTop=1\n[Big]\npadding=" + std::string(100000, 'p') + "\n";
    Put(old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit small = saved;
    small.rlim_cur = 50000;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string failure = WriteFailure(Path());
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_NE(failure.find("файл стал бы больше, чем разрешено"), std::string::npos) << failure;
    EXPECT_EQ(Content(), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2) << "a temporary file was left behind";

    // A value that would break the file into two lines is refused.
    EXPECT_THROW(TIniFile(Path()).WriteString("text", "edit1", "two\nlines"), Exception);
    EXPECT_EQ(Content(), old);
}

TEST_F(IniFiles, AWriterKilledAtAnyMomentNeverLeavesAHalfWrittenFile)
{
    const std::string padding(1 << 20, 'p');
    Put("[Size]\nTop=0\nLeft=0\nHeight=0\nWidth=0\n[Big]\npadding=" + padding + "\n");
    std::mt19937 pick(7);
    for (int round = 0; round < 25; ++round) {
        const std::string path = Path();
        char* argv[] = {const_cast<char*>(INI_SAVE_LOOP), const_cast<char*>(path.c_str()), nullptr};
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, INI_SAVE_LOOP, nullptr, nullptr, argv, environ), 0);
        usleep(std::uniform_int_distribution<int>(2000, 40000)(pick));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        TStringList size, big;
        TIniFile(path).ReadSectionValues("Size", &size);
        TIniFile(path).ReadSectionValues("Big", &big);
        ASSERT_EQ(size.Count(), 4) << "round " << round;
        for (const char* key : {"Top", "Left", "Height", "Width"})
            EXPECT_NO_THROW(StrToInt(size.Values(key))) << key << " in round " << round;
        ASSERT_EQ(big.Values("padding"), padding) << "round " << round;
    }
}
