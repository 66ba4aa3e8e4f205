// The media player control: a row of transport buttons over a wave-file player that
// decodes with libsndfile and plays through SDL2's audio output.
#pragma once

#include "shell/Controls.h"

#include <memory>
#include <string>

// What the player is doing: nothing open, open and still, playing, or paused mid-way.
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpPaused };

// The transport buttons, left to right.
enum TMPBtnType { btPlay, btPause, btStop, btBack, btEject };

class TMediaPlayer : public TControl {
public:
    TMediaPlayer();
    ~TMediaPlayer() override;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }

    // Opens FileName (relative to the current directory) on the sound device, closing
    // whatever was open before. Raises Exception saying why when the file is missing, is
    // not a sound file, is damaged or uses an encoding that cannot be decoded, or when
    // there is no sound device; the player is then left closed.
    void Open();
    // Plays the open file from its beginning; returns at once, the sound goes on.
    void Play();
    // Holds the sound where it is; Resume goes on from there.
    void Pause();
    void Resume();
    // Ends playing and goes back to the beginning.
    void Stop();
    // Goes back to the beginning, playing on if it was playing.
    void Rewind();
    // Closes the file and the sound device.
    void Close();

    TMPModes Mode() const { return mode_; }

    // Presses a transport button as a user's click would; a greyed-out button ignores it.
    void Click(TMPBtnType button);
    bool ButtonEnabled(TMPBtnType button) const;

private:
    class Sound;
    class Panel;

    void Act(TMPBtnType button);
    void SetMode(TMPModes mode);
    void SoundEnded(unsigned generation);

    Panel* panel_;
    std::string fileName_;
    std::unique_ptr<Sound> sound_;
    TMPModes mode_ = mpNotReady;
};
