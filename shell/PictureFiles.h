// Reading picture files into images: the kind chosen by extension or forced to a Windows
// bitmap, a bitmap's headers checked before it is decoded, and a bounded cache of decoded
// files so that a program reading the same unchanged file again and again decodes it once.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

// Reads a picture, its kind chosen by the file's extension; `shownName` is the name the
// error messages quote. Raises Exception on any failure.
QImage ReadPicture(const std::string& path, const std::string& shownName);

// Reads a file as a Windows bitmap whatever its extension. Raises Exception on any failure.
QImage ReadBitmap(const std::string& path, const std::string& shownName);

// The largest picture a bitmap may declare, so that a forged header cannot make the
// program allocate gigabytes.
constexpr std::int64_t MaxBitmapSide = 32768;
constexpr std::int64_t MaxBitmapPixels = std::int64_t(1) << 26;

// The decoded-picture cache: how much memory its pictures may hold at most, all together
// and each (the largest bitmap allowed, at four bytes a point, so that four photo-sized
// tiles are decoded once and not on every read), and, for the shell's tests and
// benchmarks, how many decodes it has saved so far.
constexpr std::int64_t PictureCacheBytes = std::int64_t(1) << 30;
constexpr std::int64_t PictureCacheBytesEach = MaxBitmapPixels * 4;
std::int64_t PictureCacheHits();
std::int64_t PictureCacheHeldBytes();
void ClearPictureCache();
