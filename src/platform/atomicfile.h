#pragma once

#include <chrono>
#include <string>
#include <string_view>

// Writing a file so that a failure never costs its previous content: the bytes go to a new
// temporary file in the target's directory, reach the disk (fsync) and only then are renamed
// over the target. Until the rename the target is untouched; after a failure the temporary file,
// which this object created, is removed, and nothing else is.
//
// A symbolic link is written through: the file it points to (followed to the end of the chain)
// is replaced in its own directory, and the link stays a link. A replaced file keeps its
// permission bits (and, when the process may, its owner); a new file gets 0666 less the umask.
// Only a regular file, or nothing, is ever replaced: a directory, device, FIFO or socket at the
// target is refused before anything is created.
//
// The temporary file is named "." + target name + "." + random hex + ".tmp", so directory scans
// that skip hidden files or look for REZ*.DAT never see it.
namespace kovanta {

class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile(); // an uncommitted file is discarded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Resolves the target and creates the temporary file. False (see error()) when the target
    // is not a regular file or the temporary file cannot be created; may be called again.
    bool open();
    bool isOpen() const { return fd_ >= 0; }
    // Appends bytes (buffered). False once any write has failed; the failure is kept for commit.
    bool write(std::string_view bytes);
    // Flushes, fsyncs and closes the temporary file and renames it over the target. False when
    // anything failed; the temporary file is then removed and the target is as it was.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    // errno of the first failure, 0 when none. The refusal of a target that is no regular file
    // is reported as EINVAL.
    int error() const { return error_; }
    // The failure in German, UTF-8, without the file name: "ist ein Verzeichnis",
    // "ist keine normale Datei", "ist eine Schleife symbolischer Verknüpfungen",
    // "kann nicht geschrieben werden (Datenträger voll)".
    // Empty when none.
    std::string errorText() const;
    // The file that is (or would be) replaced: the path with its symbolic links followed.
    const std::string& target() const { return target_; }

private:
    bool resolveTarget();
    bool flushBuffer();
    void fail(int error);

    std::string path_;
    std::string target_;
    std::string temp_;
    std::string buffer_;
    int fd_ = -1;
    int error_ = 0;
    bool notRegular_ = false;
    bool targetIsDirectory_ = false;
    bool targetExists_ = false;
    unsigned targetMode_ = 0;
    unsigned targetUid_ = 0;
    unsigned targetGid_ = 0;
};

// How old a temporary file of ours must be before removeStaleTempFiles() takes it for left over:
// a save that is still running (a slow disk, a network share) is never that old.
inline constexpr std::chrono::minutes kStaleTempAge{10};

// Removes the temporary files that earlier writes of target left behind when the process was
// killed between creating and renaming them (during the fsync, say): exactly the names
// "." + target name + "." + 8 lower-case hex digits + ".tmp" in target's directory, and of those
// only regular files (never a link, a directory or anything else) owned by this user and not
// modified for at least minAge, so that a save another process is doing right now keeps its
// file. Nothing else is ever removed. Call it with the target a successful commit() reported
// (AtomicFile::target()); returns the number of files removed.
int removeStaleTempFiles(const std::string& target, std::chrono::seconds minAge = kStaleTempAge);

// The whole content at once, through AtomicFile. False on failure, with `message` holding
// AtomicFile::errorText().
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& message);

} // namespace kovanta
