// The decoded-picture cache: a program that reads the same unchanged file again and again
// decodes it once. Bounded in memory, least recently used pictures going first.
#pragma once

#include "shell/BitmapFormat.h"
#include "shell/Picture.h"

#include <sys/stat.h>

#include <cstdint>
#include <string>

// How much memory the cached pictures may hold at most, all together and each (the
// largest bitmap allowed, at four bytes a point, so that four photo-sized tiles are
// decoded once and not on every read), counted when they are kept; and how many pictures
// it keeps at most (each decoded in part keeps its file open).
constexpr std::int64_t PictureCacheBytes = std::int64_t(1) << 30;
constexpr std::int64_t PictureCacheBytesEach = MaxBitmapPixels * 4;
constexpr std::size_t PictureCacheCount = 64;

// The picture decoded from the file at `path` (absolute) in `format` whose fstat gave
// `status`, when the cache holds it.
bool FindCachedPicture(const std::string& path, const std::string& format, const struct stat& status, Picture& picture);

// Keeps a picture decoded from that file; an older picture of the same path and format
// is dropped.
void CachePicture(const std::string& path, const std::string& format, const struct stat& status, const Picture& picture);

// For the shell's tests and benchmarks: how many decodes the cache has saved so far, and
// how much memory it holds.
std::int64_t PictureCacheHits();
std::int64_t PictureCacheHeldBytes();
void ClearPictureCache();
