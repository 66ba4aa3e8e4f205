// The wave player driven through its real window, with SDL's disk output standing in for
// the sound device: what the device is handed is compared sample for sample with what the
// wave files hold. The files are written here byte by byte, so what each should sound like
// is known without the decoder under test.
#include "wavplayer/Unit1.h"
#include "tests/support/ProgramTest.h"
#include "tests/support/WaveFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <functional>
#include <optional>

namespace {

constexpr int WaitMs = 20000; // for conditions only: no test fails on time if a run is slow

void PutFloat(std::string& out, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Put(out, bits, 4);
}

using ::WaveBytes; // beside the overload below

// A wave file whose samples are code/128 for the given codes, each in -128..127.
std::string WaveBytes(const WaveForm& form, const std::vector<int>& codes)
{
    std::string data;
    for (int code : codes) {
        if (form.tag == 3)
            PutFloat(data, code / 128.0f);
        else if (form.bits == 8)
            Put(data, code + 128, 1); // 8-bit samples are unsigned around 128
        else
            Put(data, static_cast<std::uint32_t>(code) << (form.bits - 8), form.bits / 8);
    }
    return WaveBytes(form, data);
}

// Codes that are never 0, so that silence in the output is never taken for sound.
std::vector<int> Codes(int count)
{
    std::vector<int> codes(count);
    for (int i = 0; i < count; ++i) {
        codes[i] = (i * 37 + 11) % 255 - 127;
        if (codes[i] == 0)
            codes[i] = 1;
    }
    return codes;
}

std::vector<float> Expected(const std::vector<int>& codes)
{
    std::vector<float> values;
    for (int code : codes)
        values.push_back(code / 128.0f);
    return values;
}

void WriteFile(const QString& name, const std::string& bytes)
{
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

// The 16-bit PCM samples of a wave file, as floats in -1..1.
std::vector<float> Pcm16Samples(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<float> samples;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        std::uint32_t size;
        std::memcpy(&size, bytes.constData() + at + 4, 4);
        if (bytes.mid(at, 4) == "fmt ") {
            EXPECT_EQ(bytes[at + 8 + 14], 16) << "not 16-bit";
        }
        if (bytes.mid(at, 4) == "data")
            for (qsizetype i = at + 8; i + 2 <= at + 8 + qsizetype(size); i += 2) {
                std::int16_t value;
                std::memcpy(&value, bytes.constData() + i, 2);
                samples.push_back(value / 32768.0f);
            }
        at += 8 + size + size % 2;
    }
    return samples;
}

std::vector<float> WithoutSilence(std::vector<float> samples)
{
    samples.erase(std::remove(samples.begin(), samples.end(), 0.0f), samples.end());
    return samples;
}

std::vector<float> TrimSilence(std::vector<float> samples)
{
    const auto first = std::find_if(samples.begin(), samples.end(), [](float v) { return v != 0.0f; });
    const auto last = std::find_if(samples.rbegin(), samples.rend(), [](float v) { return v != 0.0f; });
    return first == samples.end() ? std::vector<float>() : std::vector<float>(first, last.base());
}

// A ramp: frame n holds (n + 1) / 2^20, so each sample the device is handed says which
// frame of the file it was. Exact in 32-bit float up to 2^24 frames.
constexpr float RampStep = 1.0f / (1 << 20);

struct Stretch {
    long first, last;
    bool operator==(const Stretch& other) const { return first == other.first && last == other.last; }
};

void PrintTo(const Stretch& stretch, std::ostream* out)
{
    *out << "frames " << stretch.first << ".." << stretch.last;
}

// The stretches of consecutive frames of the ramp that the device was handed.
std::vector<Stretch> Runs(const std::vector<float>& output)
{
    std::vector<Stretch> runs;
    for (float value : WithoutSilence(output)) {
        const long frame = std::lround(value / RampStep) - 1;
        if (runs.empty() || frame != runs.back().last + 1)
            runs.push_back({frame, frame});
        else
            runs.back().last = frame;
    }
    return runs;
}

class WavPlayer : public ProgramTest<TForm1> {
protected:
    WavPlayer() : ProgramTest("wavplayer", Form1) {}
    void SetUp() override
    {
        ASSERT_TRUE(outputFolder.isValid());
        output = outputFolder.filePath("device.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", output.toUtf8());
        qputenv("SDL_DISKAUDIODELAY", "0"); // as fast as the files can be decoded
        ProgramTest::SetUp();
    }

    TMediaPlayer* Player() { return Form1->MediaPlayer1; }

    // What the device has been handed so far, as 32-bit floats.
    std::vector<float> Output() const
    {
        QFile file(output);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        std::vector<float> samples(bytes.size() / sizeof(float));
        if (!samples.empty()) // an empty vector's data() may be null, which memcpy must not get
            std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
        return samples;
    }

    bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, WaitMs); }

    // Plays a click to its end and closes the player, so the whole output is written.
    void PlayThrough()
    {
        Form1->Button1->Click();
        ASSERT_EQ(Player()->Mode(), mpPlaying);
        ASSERT_TRUE(WaitFor([&] { return Player()->Mode() == mpStopped; })) << "the sound never ended";
        Player()->Click(btEject);
    }

    // Waits until the device has written a good deal more, so what it was handed before
    // now is all in the file.
    void Settle()
    {
        const qint64 before = QFileInfo(output).size();
        ASSERT_TRUE(WaitFor([&] { return QFileInfo(output).size() > before + 32768; }));
    }

    std::vector<bool> ButtonStates()
    {
        std::vector<bool> states;
        for (TMPBtnType button : {btPlay, btPause, btStop, btBack, btEject})
            states.push_back(Player()->ButtonEnabled(button));
        return states;
    }

    QTemporaryDir outputFolder;
    QString output;
};

TEST_F(WavPlayer, ClickPlaysTheChimeSampleForSampleWithoutTakingTheSignals)
{
    // The user clicks «Грузить» in the window «Плеер»: the captions as the widgets show them.
    EXPECT_EQ(Form1->Widget()->windowTitle().toStdString(), "Плеер");
    const auto* load = qobject_cast<const QAbstractButton*>(Form1->Button1->Widget());
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->text().toStdString(), "Грузить");
    EXPECT_EQ(Player()->Mode(), mpNotReady);
    EXPECT_EQ(ButtonStates(), std::vector<bool>(5, false)) << "buttons must be greyed while nothing is open";
    ASSERT_TRUE(QFile::copy(QStringLiteral(ASSETS_DIR "/1.wav"), "1.wav"));

    Form1->Button1->Click();
    EXPECT_EQ(Player()->FileName(), "1.wav");
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{false, true, true, true, true}));
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal << " was taken over";
    }
    ASSERT_TRUE(WaitFor([&] { return Player()->Mode() == mpStopped; }));
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{true, false, false, true, true}));
    Player()->Click(btEject);

    const std::vector<float> chime = TrimSilence(Pcm16Samples("1.wav"));
    ASSERT_GT(chime.size(), 10000u);
    EXPECT_TRUE(TrimSilence(Output()) == chime) << "the device was not handed the file's samples";
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(WavPlayer, EveryCommonWaveVariantPlaysExactly)
{
    const WaveForm forms[] = {
        {"8-bit unsigned mono 8 kHz", 1, 8, 1, 8000},
        {"8-bit unsigned stereo 11 kHz", 1, 8, 2, 11025},
        {"16-bit mono 22 kHz", 1, 16, 1, 22050},
        {"16-bit stereo 44.1 kHz", 1, 16, 2, 44100},
        {"24-bit mono 48 kHz", 1, 24, 1, 48000},
        {"24-bit stereo 16 kHz", 1, 24, 2, 16000},
        {"24-bit extensible stereo 96 kHz", 0xFFFE, 24, 2, 96000},
        {"32-bit float mono 32 kHz", 3, 32, 1, 32000},
        {"32-bit float stereo 48 kHz", 3, 32, 2, 48000},
        {"16-bit stereo with chunks before the data", 1, 16, 2, 44100, true},
    };
    for (const WaveForm& form : forms) {
        SCOPED_TRACE(form.name);
        const std::vector<int> codes = Codes(form.rate / 4 * form.channels);
        WriteFile("1.wav", WaveBytes(form, codes));
        PlayThrough();
        EXPECT_TRUE(WithoutSilence(Output()) == Expected(codes)) << "the samples differ";
    }
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(WavPlayer, TransportButtonsPauseStopAndRestart)
{
    // A minute of ramp at 8 kHz, handed over a little faster than it would play.
    qputenv("SDL_DISKAUDIODELAY", "1");
    std::string ramp;
    for (int n = 0; n < 8000 * 60; ++n)
        PutFloat(ramp, (n + 1) * RampStep);
    WriteFile("1.wav", WaveBytes({"ramp", 3, 32, 1, 8000}, ramp));

    Form1->Button1->Click();
    ASSERT_TRUE(WaitFor([&] { auto r = Runs(Output()); return !r.empty() && r[0].last > 4000; }));

    // The player takes the first focus: Right skips the greyed-out Play, Enter does nothing.
    Form1->Show();
    QApplication::setActiveWindow(Form1->Widget());
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Return, Qt::Key_Space})
        QTest::keyClick(Form1->Widget()->windowHandle(), key);
    EXPECT_EQ(Player()->Mode(), mpPaused);
    Settle();
    const std::vector<Stretch> paused = Runs(Output());
    Settle();
    EXPECT_EQ(Runs(Output()), paused) << "sound went on during the pause";

    QTest::keyClick(Form1->Widget()->windowHandle(), Qt::Key_Space);
    EXPECT_EQ(Player()->Mode(), mpPlaying);
    ASSERT_TRUE(WaitFor([&] { auto r = Runs(Output()); return r.back().last > paused.back().last + 4000; }));
    ASSERT_EQ(Runs(Output()).size(), 1u) << "the pause lost or repeated frames";
    EXPECT_EQ(Runs(Output())[0].first, 0);

    Player()->Click(btStop);
    EXPECT_EQ(Player()->Mode(), mpStopped);
    EXPECT_EQ(ButtonStates(), (std::vector<bool>{true, false, false, true, true}));
    Settle();
    const std::vector<Stretch> stopped = Runs(Output());
    Settle();
    EXPECT_EQ(Runs(Output()), stopped) << "sound went on after stop";

    Player()->Click(btPlay);
    ASSERT_TRUE(WaitFor([&] { auto r = Runs(Output()); return r.size() == 2 && r[1].last > 4000; }));
    EXPECT_EQ(Runs(Output())[1].first, 0) << "play after stop must start from the beginning";

    Player()->Click(btBack);
    EXPECT_EQ(Player()->Mode(), mpPlaying);
    ASSERT_TRUE(WaitFor([&] { auto r = Runs(Output()); return r.size() == 3 && r[2].last > 4000; }));
    EXPECT_EQ(Runs(Output())[2].first, 0) << "back to the start did not start over";

    // A click while playing closes the file and its device and plays afresh.
    Form1->Button1->Click();
    EXPECT_EQ(Player()->Mode(), mpPlaying);
    ASSERT_TRUE(WaitFor([&] { auto r = Runs(Output()); return r.size() == 1 && r[0].last > 4000; }));
    EXPECT_EQ(Runs(Output())[0].first, 0);

    Player()->Click(btEject);
    EXPECT_EQ(Player()->Mode(), mpNotReady);
    EXPECT_EQ(ButtonStates(), std::vector<bool>(5, false));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(WavPlayer, AFailedClickSaysWhyPlaysNothingAndALaterClickPlays)
{
    const std::vector<int> codes = Codes(4000);
    const std::string good = WaveBytes({"good", 1, 16, 1, 8000}, codes);
    struct Case {
        const char* name;
        std::optional<std::string> file; // what "1.wav" holds, if there is one
        const char* driver;
        const char* outputFolder;
        const char* says;
    };
    const Case cases[] = {
        {"no file", std::nullopt, "disk", nullptr, "не найден"},
        {"empty file", "", "disk", nullptr, "пуст"},
        {"text file", "Это просто текст, а не звук.\n", "disk", nullptr, "не звуковой файл"},
        {"truncated header", good.substr(0, 30), "disk", nullptr, "повреждён"},
        {"no such sound output", good, "no-such-output", nullptr, "Нет звукового устройства"},
        {"device cannot be opened", good, "disk", "/no/such/folder", "Нет звукового устройства"},
        // Found by fuzzing: at 1 Hz one buffer of the device lasted a minute, and stopping
        // froze the player for minutes.
        {"a rate of 1 Hz", WaveBytes({"1 Hz", 1, 8, 1, 1}, Codes(4)), "disk", nullptr, "частота 1 Гц"},
        {"a rate of 999 Hz", WaveBytes({"999 Hz", 1, 16, 1, 999}, Codes(8)), "disk", nullptr, "от 1000 до"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        QFile::remove("1.wav");
        QFile::remove(output);
        if (row.file)
            WriteFile("1.wav", *row.file);
        qputenv("SDL_AUDIODRIVER", row.driver);
        if (row.outputFolder)
            qputenv("SDL_DISKAUDIOFILE", QByteArray(row.outputFolder) + "/device.raw");
        const size_t before = boxes.Texts().size();

        Form1->Button1->Click();
        ASSERT_EQ(boxes.Texts().size(), before + 1) << "one error box expected";
        const std::string said = boxes.Texts().back();
        EXPECT_NE(said.find("«1.wav»"), std::string::npos) << said;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        EXPECT_EQ(Player()->Mode(), mpNotReady);
        EXPECT_EQ(ButtonStates(), std::vector<bool>(5, false));
        EXPECT_TRUE(WithoutSilence(Output()).empty()) << "something played";

        // The user puts a good file in place; the next click plays it.
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", output.toUtf8());
        WriteFile("1.wav", good);
        PlayThrough();
        EXPECT_TRUE(WithoutSilence(Output()) == Expected(codes)) << "the later click did not play the file";
    }
}

} // namespace
