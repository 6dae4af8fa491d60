#include "common/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The permissions a newly created file would get, so that a first save is not left at
// the temporary's private 0600.
mode_t NewFileMode()
{
    static const mode_t mask = [] {
        const mode_t current = umask(0);
        umask(current);
        return current;
    }();
    return static_cast<mode_t>(0666 & ~mask);
}

// A link is replaced through, never by a plain file: the user named the link's target.
std::string ResolvedTarget(const std::string& path)
{
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return path;
    return resolved;
}

std::string FolderOf(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The temporary keeps the extension (".png", ".ifi") so that writers choosing a format
// from the name choose the target's; the leading dot keeps it out of ordinary listings.
std::string TemporaryPattern(const std::string& target, int& suffixLength)
{
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string::size_type dot = name.rfind('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
    suffixLength = static_cast<int>(extension.size());
    return folder + "." + name + ".XXXXXX" + extension;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& targetPath) : targetPath_(ResolvedTarget(targetPath))
{
    // A device or a pipe (/dev/stdout, /dev/full, a FIFO) is not a file to replace:
    // renaming over it would put a plain file where the device was. It is written in
    // place; there is no previous content to keep.
    struct stat existing {};
    if (stat(targetPath_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        descriptor_ = open(targetPath_.c_str(), O_WRONLY | O_CLOEXEC);
        if (descriptor_ < 0) {
            Fail("cannot open", errno);
            return;
        }
        inPlace_ = true;
        temporaryPath_ = targetPath_;
        return;
    }
    int suffixLength = 0;
    std::string pattern = TemporaryPattern(targetPath_, suffixLength);
    descriptor_ = mkstemps(pattern.data(), suffixLength);
    if (descriptor_ < 0) {
        Fail("cannot create a file beside", errno);
        return;
    }
    temporaryPath_ = pattern;
    const mode_t mode = stat(targetPath_.c_str(), &existing) == 0 ? existing.st_mode & 07777 : NewFileMode();
    fchmod(descriptor_, mode);
}

AtomicFile::~AtomicFile()
{
    Discard();
}

std::FILE* AtomicFile::Stream()
{
    if (!stream_ && descriptor_ >= 0) {
        const int duplicate = dup(descriptor_);
        if (duplicate >= 0) {
            stream_ = fdopen(duplicate, "w");
            if (!stream_) close(duplicate);
        }
    }
    return stream_;
}

bool AtomicFile::Commit()
{
    if (descriptor_ < 0) return false;
    if (stream_) {
        const bool flushed = std::fflush(stream_) == 0 && !std::ferror(stream_);
        const int flushError = errno;
        const bool closed = std::fclose(stream_) == 0;
        stream_ = nullptr;
        if (!flushed || !closed) {
            Fail("cannot write", flushed ? errno : flushError);
            Discard();
            return false;
        }
    }
    // A pipe or a terminal cannot be synced (EINVAL): what was written has gone to it.
    if (fsync(descriptor_) != 0 && !(inPlace_ && errno == EINVAL)) {
        Fail("cannot write", errno);
        Discard();
        return false;
    }
    const int closeResult = close(descriptor_);
    descriptor_ = -1;
    if (closeResult != 0) {
        Fail("cannot write", errno);
        Discard();
        return false;
    }
    if (inPlace_) {
        temporaryPath_.clear();
        return true;
    }
    if (std::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
        Fail("cannot replace", errno);
        Discard();
        return false;
    }
    temporaryPath_.clear();
    // The rename itself must reach the disk too, or a power cut could bring back the old file.
    const int folder = open(FolderOf(targetPath_).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

void AtomicFile::Fail(const std::string& what, int errorNumber)
{
    error_ = what + " " + targetPath_ + ": " + std::strerror(errorNumber);
}

void AtomicFile::Discard()
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (descriptor_ >= 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporaryPath_.empty() && !inPlace_) {
        unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

bool WriteFileAtomically(const std::string& targetPath, const std::string& contents, std::string& error)
{
    AtomicFile file(targetPath);
    std::FILE* stream = file.Stream();
    if (stream && !contents.empty()) std::fwrite(contents.data(), 1, contents.size(), stream);
    if (!stream || !file.Commit()) {
        error = file.Error().empty() ? "cannot write " + targetPath : file.Error();
        return false;
    }
    return true;
}
