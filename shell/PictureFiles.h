// Reading picture files: the kind chosen by extension or forced to a Windows bitmap, the
// file opened safely and checked before anything is decoded, and decoded pictures kept
// while their file stays unchanged.
#pragma once

#include "shell/Picture.h"

#include <string>

// Reads a picture, its kind chosen by the file's extension; `shownName` is the name the
// error messages quote. Raises Exception on any failure. A large uncompressed bitmap's
// headers and length are checked now and its pixels decoded as far as they are asked for.
Picture ReadPicture(const std::string& path, const std::string& shownName);

// Reads a file as a Windows bitmap whatever its extension. Raises Exception on any failure.
Picture ReadBitmap(const std::string& path, const std::string& shownName);
