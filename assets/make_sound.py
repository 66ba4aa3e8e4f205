"""Writes 1.wav, the two-note chime that wavplayer plays: 16-bit mono PCM at 44.1 kHz."""

import math
import os
import struct
import wave

RATE = 44100
NOTE_SECONDS = 0.8
# Two bell-like notes, a major third apart, each with a few inharmonic partials:
# (multiple of the note's frequency, relative loudness, how fast it fades).
NOTES = [659.25, 523.25]
PARTIALS = [(1.0, 1.0, 4.0), (2.76, 0.35, 7.0), (5.4, 0.12, 11.0)]
ATTACK_SECONDS = 0.004  # a short fade-in, so a note starts without a click
PEAK = 0.6              # of full scale, leaving room for the partials to add up

HERE = os.path.dirname(os.path.abspath(__file__))


def note(frequency):
    samples = []
    for n in range(int(RATE * NOTE_SECONDS)):
        t = n / RATE
        value = sum(loudness * math.exp(-fade * t) * math.sin(2 * math.pi * frequency * multiple * t)
                    for multiple, loudness, fade in PARTIALS)
        samples.append(value * min(1.0, t / ATTACK_SECONDS))
    return samples


def main():
    samples = [value for frequency in NOTES for value in note(frequency)]
    scale = PEAK * 32767 / max(abs(value) for value in samples)
    frames = b"".join(struct.pack("<h", round(value * scale)) for value in samples)
    with wave.open(os.path.join(HERE, "1.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
