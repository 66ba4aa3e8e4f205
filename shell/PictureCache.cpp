// The decoded-picture cache, keyed on what tells a file's content has stayed the same.
#include "shell/PictureCache.h"

#include <list>
#include <map>
#include <tuple>

namespace {

// A file is the same file with the same content as long as its place, size, modification
// time and status change time stay as they were. The change time cannot be set back by a
// program: a file rewritten in place with its old size and time kept (cp -p, tar, rsync -t)
// still gets a new one.
struct FileKey {
    std::string path;
    std::string format;
    std::uint64_t device, inode;
    std::int64_t size, modifiedSeconds, modifiedNanoseconds, changedSeconds, changedNanoseconds;
    FileKey(const std::string& path, const std::string& format, const struct stat& status)
        : path(path), format(format), device(status.st_dev), inode(status.st_ino), size(status.st_size),
          modifiedSeconds(status.st_mtim.tv_sec), modifiedNanoseconds(status.st_mtim.tv_nsec),
          changedSeconds(status.st_ctim.tv_sec), changedNanoseconds(status.st_ctim.tv_nsec)
    {
    }
    auto Fields() const
    {
        return std::tie(path, format, device, inode, size, modifiedSeconds, modifiedNanoseconds, changedSeconds,
                        changedNanoseconds);
    }
    bool operator<(const FileKey& other) const { return Fields() < other.Fields(); }
};

// Least recently used pictures go first once the cache holds more than PictureCacheBytes.
class PictureCache {
public:
    bool Find(const FileKey& key, Picture& picture)
    {
        const auto found = index_.find(key);
        if (found == index_.end())
            return false;
        order_.splice(order_.begin(), order_, found->second);
        picture = found->second->picture;
        ++hits_;
        return true;
    }

    void Add(const FileKey& key, const Picture& picture)
    {
        const std::int64_t bytes = picture.DecodedBytes();
        if (bytes > PictureCacheBytesEach)
            return; // a single huge picture would push out everything else
        // An older version of the same file will never be asked for again.
        for (auto entry = order_.begin(); entry != order_.end();) {
            if (entry->key.path == key.path && entry->key.format == key.format)
                entry = Remove(entry);
            else
                ++entry;
        }
        order_.push_front({key, picture, bytes});
        index_[key] = order_.begin();
        held_ += bytes;
        while (held_ > PictureCacheBytes || order_.size() > PictureCacheCount)
            Remove(std::prev(order_.end()));
    }

    void Clear()
    {
        order_.clear();
        index_.clear();
        held_ = 0;
        hits_ = 0;
    }

    std::int64_t Hits() const { return hits_; }
    std::int64_t Held() const { return held_; }

private:
    struct Entry {
        FileKey key;
        Picture picture;
        std::int64_t bytes; // counted when it was kept
    };
    using Entries = std::list<Entry>;

    Entries::iterator Remove(Entries::iterator entry)
    {
        held_ -= entry->bytes;
        index_.erase(entry->key);
        return order_.erase(entry);
    }

    Entries order_;
    std::map<FileKey, Entries::iterator> index_;
    std::int64_t held_ = 0;
    std::int64_t hits_ = 0;
};

PictureCache& Cache()
{
    static PictureCache cache;
    return cache;
}

} // namespace

bool FindCachedPicture(const std::string& path, const std::string& format, const struct stat& status, Picture& picture)
{
    return Cache().Find(FileKey(path, format, status), picture);
}

void CachePicture(const std::string& path, const std::string& format, const struct stat& status, const Picture& picture)
{
    Cache().Add(FileKey(path, format, status), picture);
}

std::int64_t PictureCacheHits()
{
    return Cache().Hits();
}

std::int64_t PictureCacheHeldBytes()
{
    return Cache().Held();
}

void ClearPictureCache()
{
    Cache().Clear();
}
