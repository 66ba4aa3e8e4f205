// The media player: its transport buttons over Qt widgets, the sound that libsndfile
// decodes and SDL2 plays, and its part of the layout's class table. This is the only
// place in the shell that touches SDL or libsndfile.
#include "shell/MediaPlayer.h"

#include "shell/Files.h"
#include "shell/Layout.h"
#include "shell/Messages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

#include <SDL.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

// One buffer of the device holds at most this much sound. When a device closes, SDL
// waits for the buffer in play and then lets two more drain, so closing (and with it
// ending the program while a sound plays) takes up to three buffers: 8 ms keeps that
// under 25 ms, and is still more than a sound server needs to play without gaps.
constexpr int BufferMilliseconds = 8;
// SDL mixes up to eight channels (7.1); rates beyond studio ones are taken for damage.
// So are rates below 1000 Hz: a buffer never holds fewer than 64 frames, which at 1 Hz
// would last a minute, and closing would wait minutes for three of them to drain.
constexpr int MaxChannels = 8;
constexpr int MinRate = 1000;
constexpr int MaxRate = 384000;
// A file whose size the system does not tell (files in /proc and /sys, some FUSE and
// network file systems say 0) is read into memory to be played, up to this much: about
// 25 minutes of CD sound.
constexpr std::size_t MaxUnsizedSound = 256 << 20;

// Every start of a sound, of any file, gets a number of its own, so that a report that an
// earlier sound ran out is never taken for one about the sound playing now.
unsigned lastGeneration = 0;

// The largest power of two frames that lasts at most BufferMilliseconds (but at least 64).
Uint16 BufferFrames(int rate)
{
    Uint16 frames = 64;
    while (frames < 8192 && (frames * 2) * 1000LL <= static_cast<long long>(rate) * BufferMilliseconds)
        frames *= 2;
    return frames;
}

std::string NoDeviceMessage(const std::string& fileName, const std::string& why)
{
    return "Нет звукового устройства, чтобы играть " + Quoted(fileName) + ": " + why
           + ". Нужен звуковой сервер (PulseAudio, PipeWire) или устройство ALSA; вывод выбирает "
             "переменная окружения SDL_AUDIODRIVER.";
}

// Why libsndfile would not open a file that exists, in words a user can act on.
std::string UnreadableMessage(const std::string& fileName, int error)
{
    const std::string file = "Файл " + Quoted(fileName);
    switch (error) {
    case SF_ERR_UNRECOGNISED_FORMAT:
        return file + " — не звуковой файл: его формат не распознан.";
    case SF_ERR_SYSTEM:
        return "Не удалось прочитать файл " + Quoted(fileName) + ".";
    case SF_ERR_UNSUPPORTED_ENCODING:
        return file + " записан в кодировке, которую плеер не умеет декодировать.";
    default:
        return file + " повреждён: заголовок звукового файла неполон или испорчен.";
    }
}

// A small picture for a transport button, drawn in the button's text colour.
QIcon DrawIcon(TMPBtnType button)
{
    constexpr int Size = 16;
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QApplication::palette().color(QPalette::ButtonText));
    QPainterPath path;
    switch (button) {
    case btPlay:
        path.addPolygon(QPolygonF({{4, 2}, {14, 8}, {4, 14}}));
        break;
    case btPause:
        path.addRect(3, 2, 3.5, 12);
        path.addRect(9.5, 2, 3.5, 12);
        break;
    case btStop:
        path.addRect(3, 3, 10, 10);
        break;
    case btBack:
        path.addRect(2, 2, 2.5, 12);
        path.addPolygon(QPolygonF({{14, 2}, {5, 8}, {14, 14}}));
        break;
    case btEject:
        path.addPolygon(QPolygonF({{8, 2}, {14, 9}, {2, 9}}));
        path.addRect(2, 11, 12, 2.5);
        break;
    }
    painter.drawPath(path.simplified());
    return QIcon(pixmap);
}

struct ButtonRow {
    TMPBtnType type;
    const char* hint;
};
constexpr std::array<ButtonRow, 5> Buttons{{
    {btPlay, "Играть"},
    {btPause, "Пауза"},
    {btStop, "Стоп"},
    {btBack, "В начало"},
    {btEject, "Закрыть файл"},
}};

// A transport button that shows a focus frame while it is the one the keys act on and its
// row holds the keyboard focus.
class TransportButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    void SetChosen(bool value)
    {
        chosen_ = value;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QToolButton::paintEvent(event);
        if (!chosen_ || !parentWidget()->hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
    }

private:
    bool chosen_ = false;
};

} // namespace

// An open sound file on an open device. The device's own thread decodes the file a
// buffer at a time as it plays, so a long file is never held in memory; the GUI thread
// touches the file only with the device locked.
class TMediaPlayer::Sound {
public:
    // `ended` is called on the GUI thread, through `reporter`'s event queue, when the
    // sound has run out.
    Sound(const std::string& fileName, QObject* reporter, std::function<void(unsigned)> ended)
        : reporter_(reporter), ended_(std::move(ended))
    {
        if (fileName.empty())
            throw Exception("Плееру не задано имя файла.");
        OpenedFile opened = OpenForReading(fileName, "звуковой файл", fileName);
        handle_ = std::move(opened.handle);
        if (opened.status.st_size == 0) {
            if (const int error = ReadToEnd(handle_.Get(), MaxUnsizedSound, memory_); error == EFBIG)
                throw Exception("Файл " + Quoted(fileName) + " слишком велик: плеер читает файл, размер которого "
                                "система не сообщает, не больше " + IntToStr(MaxUnsizedSound >> 20) + " МБ.");
            else if (error != 0)
                throw Exception("Не удалось прочитать файл " + Quoted(fileName) + ": " + SystemReason(error));
            if (memory_.empty())
                throw Exception("Файл " + Quoted(fileName) + " пуст: в нём нет звука.");
            file_.reset(sf_open_virtual(&MemoryReader, SFM_READ, &info_, this));
        } else {
            // libsndfile reads the descriptor opened and checked above and leaves closing
            // it to its handle.
            file_.reset(sf_open_fd(handle_.Get(), SFM_READ, &info_, SF_FALSE));
        }
        if (!file_)
            throw Exception(UnreadableMessage(fileName, sf_error(nullptr)));
        if (info_.channels < 1 || info_.channels > MaxChannels)
            throw Exception("Файл " + Quoted(fileName) + ": число каналов " + IntToStr(info_.channels)
                            + ", а плеер играет от 1 до " + IntToStr(MaxChannels) + ".");
        if (info_.samplerate < MinRate || info_.samplerate > MaxRate)
            throw Exception("Файл " + Quoted(fileName) + ": частота " + IntToStr(info_.samplerate)
                            + " Гц, а плеер играет от " + IntToStr(MinRate) + " до " + IntToStr(MaxRate) + " Гц.");
        OpenDevice(fileName);
    }

    ~Sound()
    {
        // Closing the device waits for its thread: the buffer in play and two to drain.
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Goes back to the beginning; what follows is a new generation of the sound.
    void ToStart()
    {
        SDL_LockAudioDevice(device_);
        sf_seek(file_.get(), 0, SEEK_SET);
        finished_ = false;
        generation_ = ++lastGeneration;
        SDL_UnlockAudioDevice(device_);
    }

    unsigned Generation()
    {
        SDL_LockAudioDevice(device_);
        const unsigned generation = generation_;
        SDL_UnlockAudioDevice(device_);
        return generation;
    }

    void SetPaused(bool paused) { SDL_PauseAudioDevice(device_, paused ? 1 : 0); }

private:
    void OpenDevice(const std::string& fileName)
    {
        // SDL would otherwise turn SIGINT and SIGTERM into a quit event that nothing here
        // reads, and the program could no longer be ended with Ctrl+C or kill.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, QApplication::applicationName().toUtf8().constData());
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            throw Exception(NoDeviceMessage(fileName, "не запустился ни один звуковой вывод"));
        // The device takes the file's own rate and channels as 32-bit floats; SDL converts
        // to whatever the hardware wants, so no format is ever refused here.
        SDL_AudioSpec wanted{};
        wanted.freq = info_.samplerate;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = static_cast<Uint8>(info_.channels);
        wanted.samples = BufferFrames(info_.samplerate);
        wanted.callback = &Sound::Fill;
        wanted.userdata = this;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device_ == 0) {
            const char* driver = SDL_GetCurrentAudioDriver();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            throw Exception(NoDeviceMessage(
                fileName, std::string("вывод ") + Quoted(driver ? driver : "?") + " не открыл устройство"));
        }
    }

    // Runs on the device's thread: decodes the next buffer, silence once the file has
    // run out, and tells the GUI thread once that it has.
    // FIXME: this reads the disk (sf_readf_float) and, when the sound ends, allocates (the
    // queued call to the GUI thread) on the sound thread; a slow disk can make it miss its
    // deadline and click. A buffer filled ahead by another thread would keep both off it.
    static void Fill(void* self, Uint8* stream, int bytes)
    {
        auto& sound = *static_cast<Sound*>(self);
        const int channels = sound.info_.channels;
        const sf_count_t frames = bytes / static_cast<int>(sizeof(float)) / channels;
        auto* samples = reinterpret_cast<float*>(stream);
        const sf_count_t got = sound.finished_ ? 0 : sf_readf_float(sound.file_.get(), samples, frames);
        std::memset(samples + got * channels, 0, (frames - got) * channels * sizeof(float));
        if (got < frames && !sound.finished_) {
            sound.finished_ = true;
            QMetaObject::invokeMethod(
                sound.reporter_, [ended = sound.ended_, generation = sound.generation_] { ended(generation); },
                Qt::QueuedConnection);
        }
    }

    // libsndfile reading the sound from memory_.
    static sf_count_t MemoryLength(void* self) { return sf_count_t(static_cast<Sound*>(self)->memory_.size()); }
    static sf_count_t MemorySeek(sf_count_t offset, int whence, void* self)
    {
        auto& sound = *static_cast<Sound*>(self);
        const sf_count_t base = whence == SEEK_CUR ? sound.memoryAt_ : whence == SEEK_END ? MemoryLength(self) : 0;
        if (offset < -base || offset > MemoryLength(self) - base)
            return -1;
        return sound.memoryAt_ = base + offset;
    }
    static sf_count_t MemoryRead(void* into, sf_count_t count, void* self)
    {
        auto& sound = *static_cast<Sound*>(self);
        const sf_count_t got = std::max<sf_count_t>(0, std::min(count, MemoryLength(self) - sound.memoryAt_));
        std::memcpy(into, sound.memory_.data() + sound.memoryAt_, std::size_t(got));
        sound.memoryAt_ += got;
        return got;
    }
    static sf_count_t MemoryWrite(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t MemoryTell(void* self) { return static_cast<Sound*>(self)->memoryAt_; }
    static inline SF_VIRTUAL_IO MemoryReader{&MemoryLength, &MemorySeek, &MemoryRead, &MemoryWrite, &MemoryTell};

    struct SoundFileCloser {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };
    // Declared in this order, the sound file is closed before its descriptor and memory.
    std::string memory_;
    sf_count_t memoryAt_ = 0;
    FileHandle handle_;
    std::unique_ptr<SNDFILE, SoundFileCloser> file_;
    SF_INFO info_{};
    SDL_AudioDeviceID device_ = 0;
    QObject* reporter_;
    std::function<void(unsigned)> ended_;
    // Guarded by the device's lock.
    bool finished_ = false;
    unsigned generation_ = 0;
};

// The row of transport buttons. The row takes the keyboard focus as one control, also
// while every button is greyed out: Left and Right (Up and Down too) choose among the
// buttons that can be pressed, and Space presses the chosen one, which clicks on its
// release as a button does. Enter and the other keys it leaves unused.
class TMediaPlayer::Panel : public QWidget {
public:
    explicit Panel(TMediaPlayer& player)
    {
        setFocusPolicy(Qt::StrongFocus);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        for (const ButtonRow& entry : Buttons) {
            auto* button = new TransportButton(this);
            button->setIcon(DrawIcon(entry.type));
            button->setToolTip(QString::fromUtf8(entry.hint));
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            button->setCheckable(entry.type == btPause);
            button->setFocusPolicy(Qt::NoFocus);
            const TMPBtnType type = entry.type;
            QObject::connect(button, &QToolButton::clicked, [&player, type] { Dispatch([&] { player.Act(type); }); });
            row->addWidget(button);
            buttons_[type] = button;
        }
        buttons_[chosen_]->SetChosen(true);
    }

    QToolButton* Button(TMPBtnType type) const { return buttons_[type]; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            Choose(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            Choose(1);
            break;
        case Qt::Key_Space:
            PressChosen(event);
            break;
        default:
            event->ignore();
        }
    }

    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space)
            PressChosen(event);
        else
            event->ignore();
    }

    void focusInEvent(QFocusEvent*) override { buttons_[chosen_]->update(); }
    void focusOutEvent(QFocusEvent*) override { buttons_[chosen_]->update(); }

private:
    // The nearest button that can be pressed, STEP at a time from the chosen one.
    void Choose(int step)
    {
        for (int i = chosen_ + step; i >= 0 && i < int(buttons_.size()); i += step) {
            if (buttons_[i]->isEnabled()) {
                buttons_[chosen_]->SetChosen(false);
                chosen_ = i;
                buttons_[chosen_]->SetChosen(true);
                return;
            }
        }
    }

    void PressChosen(QKeyEvent* event)
    {
        if (buttons_[chosen_]->isEnabled())
            QApplication::sendEvent(buttons_[chosen_], event);
    }

    std::array<TransportButton*, Buttons.size()> buttons_{};
    int chosen_ = btPlay;
};

TMediaPlayer::TMediaPlayer() : TControl(new Panel(*this)), panel_(static_cast<Panel*>(Widget()))
{
    SetMode(mpNotReady);
}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::Open()
{
    Close();
    // The report comes through the panel, so none arrives once the player is gone.
    sound_ = std::make_unique<Sound>(fileName_, panel_, [this](unsigned generation) { SoundEnded(generation); });
    SetMode(mpStopped);
}

void TMediaPlayer::Play()
{
    if (!sound_)
        throw Exception("Плеер не может играть: файл не открыт.");
    sound_->ToStart();
    sound_->SetPaused(false);
    SetMode(mpPlaying);
}

void TMediaPlayer::Pause()
{
    if (mode_ != mpPlaying)
        return;
    sound_->SetPaused(true);
    SetMode(mpPaused);
}

void TMediaPlayer::Resume()
{
    if (mode_ != mpPaused)
        return;
    sound_->SetPaused(false);
    SetMode(mpPlaying);
}

void TMediaPlayer::Stop()
{
    if (!sound_)
        return;
    sound_->SetPaused(true);
    sound_->ToStart();
    SetMode(mpStopped);
}

void TMediaPlayer::Rewind()
{
    if (sound_)
        sound_->ToStart();
}

void TMediaPlayer::Close()
{
    sound_.reset();
    SetMode(mpNotReady);
}

// What a button does depends on the mode: the pause button also resumes, and the play
// button goes on from a pause rather than starting over.
void TMediaPlayer::Act(TMPBtnType button)
{
    switch (button) {
    case btPlay:
        if (mode_ == mpPaused)
            Resume();
        else
            Play();
        break;
    case btPause:
        if (mode_ == mpPaused)
            Resume();
        else
            Pause();
        break;
    case btStop:
        Stop();
        break;
    case btBack:
        Rewind();
        break;
    case btEject:
        Close();
        break;
    }
}

void TMediaPlayer::Click(TMPBtnType button)
{
    panel_->Button(button)->click();
}

bool TMediaPlayer::ButtonEnabled(TMPBtnType button) const
{
    return panel_->Button(button)->isEnabled();
}

void TMediaPlayer::SetMode(TMPModes mode)
{
    mode_ = mode;
    const bool open = mode != mpNotReady;
    const bool running = mode == mpPlaying || mode == mpPaused;
    panel_->Button(btPlay)->setEnabled(open && mode != mpPlaying);
    panel_->Button(btPause)->setEnabled(running);
    panel_->Button(btPause)->setChecked(mode == mpPaused);
    panel_->Button(btStop)->setEnabled(running);
    panel_->Button(btBack)->setEnabled(open);
    panel_->Button(btEject)->setEnabled(open);
}

// The sound ran out (perhaps just before a pause): the device is held so it stops asking
// for more, unless the report is from before a later start.
void TMediaPlayer::SoundEnded(unsigned generation)
{
    if (!sound_ || mode_ == mpStopped || generation != sound_->Generation())
        return;
    sound_->SetPaused(true);
    SetMode(mpStopped);
}

namespace {

void AddMediaPlayerClasses(ClassTable& classes)
{
    classes["TMediaPlayer"] = {"TControl",
                               [] { return std::make_unique<TMediaPlayer>(); },
                               {TextProperty("FileName", &TMediaPlayer::SetFileName)}};
}

const LinkedFamily mediaPlayers(AddMediaPlayerClasses);

} // namespace
