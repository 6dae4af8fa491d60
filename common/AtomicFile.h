#pragma once
#include <cstdio>
#include <string>

// A file that replaces its target only once it is complete and on the disk: written as a
// temporary beside the target, flushed, synced and renamed over it. A failure at any step
// (a full disk, a write error, a program killed half-way) leaves the previous target
// untouched, byte for byte, and removes the temporary.
//
// Writers that take a C stream use Stream(); writers that take a path (cv::imwrite,
// cv::VideoWriter, giflib) write to TemporaryPath(), which keeps the target's extension
// so that a format chosen from the name is the target's. A target that is a symbolic
// link is written through: the file it points to is replaced, the link stays. A target
// that is a device or a pipe is written in place, never replaced by a plain file.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& targetPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the temporary could not be created; Error() says why.
    bool IsOpen() const { return descriptor_ >= 0; }
    const std::string& TemporaryPath() const { return temporaryPath_; }
    // The temporary as a C stream, opened on first use; null when it cannot be.
    std::FILE* Stream();

    // Flushes, syncs and renames the temporary over the target. Returns false, with the
    // temporary removed and the target untouched, when any step fails.
    bool Commit();
    // Why creating or committing failed, naming the file and the system's reason.
    const std::string& Error() const { return error_; }

private:
    void Fail(const std::string& what, int errorNumber);
    void Discard();

    std::string targetPath_;
    std::string temporaryPath_;
    int descriptor_ = -1;
    std::FILE* stream_ = nullptr;
    bool inPlace_ = false;
    std::string error_;
};

// The whole of `contents` written through an AtomicFile. Returns false and sets `error`
// when the target could not be replaced.
bool WriteFileAtomically(const std::string& targetPath, const std::string& contents, std::string& error);
