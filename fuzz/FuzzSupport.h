// What the fuzz targets share: the Qt application they run in, and a private scratch
// folder for the files they hand to the shell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the shell's application on Qt's offscreen platform (once), with the timer clock
// stopped and SDL's dummy sound driver, so nothing depends on a display or a sound card.
void StartApplication();

// A scratch folder made for this process, removed when it ends.
const std::string& ScratchFolder();

// Replaces a file of the scratch folder with the given bytes; returns its path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);
