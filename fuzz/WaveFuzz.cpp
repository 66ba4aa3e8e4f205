// Fuzzes wave-file opening: arbitrary bytes opened by the media player on SDL's dummy
// sound driver; the player either opens the file and plays it or raises Exception and
// stays closed.
#include "fuzz/FuzzSupport.h"

#include "shell/MediaPlayer.h"
#include "shell/Conversions.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartApplication();
    static TMediaPlayer* player = new TMediaPlayer;
    player->SetFileName(WriteScratchFile("sound.wav", data, size));
    try {
        player->Open();
    } catch (const Exception&) {
        if (player->Mode() != mpNotReady)
            std::abort();
        return 0;
    }
    if (player->Mode() != mpStopped)
        std::abort();
    player->Play();
    player->Pause();
    player->Resume();
    player->Rewind();
    player->Stop();
    player->Close();
    return 0;
}
