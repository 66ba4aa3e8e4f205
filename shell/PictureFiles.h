// Reading picture files into images: the kind chosen by extension or forced to a Windows
// bitmap, the file opened safely and checked before anything is decoded, and decoded
// pictures kept while their file stays unchanged.
#pragma once

#include <QImage>

#include <string>

// Reads a picture, its kind chosen by the file's extension; `shownName` is the name the
// error messages quote. Raises Exception on any failure.
QImage ReadPicture(const std::string& path, const std::string& shownName);

// Reads a file as a Windows bitmap whatever its extension. Raises Exception on any failure.
QImage ReadBitmap(const std::string& path, const std::string& shownName);
