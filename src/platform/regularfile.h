#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The one way the program opens a file it reads: only regular files (symbolic links followed),
// opened without blocking and checked on the opened descriptor itself, so a FIFO never blocks
// the caller, a directory or device is refused, and no second look-up of the name is needed.
namespace kovanta {

// Opens path for reading in binary mode when it names a regular file; nullptr for anything else
// (missing, unreadable, directory, FIFO, device). The caller closes the file with fclose.
std::FILE* openRegularFile(const std::string& path);

// Why a file could not be opened or read whole.
enum class FileReadError {
    None,
    Missing,    // no such file (or a path component is missing)
    Directory,  // a directory
    NotRegular, // a FIFO, device or socket
    TooLarge,   // more than the cap allows
    Unreadable, // no permission or a read error; see errorNumber
};

struct FileReadResult {
    FileReadError error = FileReadError::None;
    int errorNumber = 0; // errno for Unreadable
    bool ok() const { return error == FileReadError::None; }
};

// openRegularFile that also tells why it gave nullptr.
std::FILE* openRegularFile(const std::string& path, FileReadResult& why);

// Reads the whole regular file at path into content, which holds at most maxBytes bytes: a
// larger file (also one that grows while it is read, or a file whose size the system reports as
// 0) gives TooLarge. On any failure content is empty.
FileReadResult readRegularFile(const std::string& path, std::size_t maxBytes,
                               std::string& content);

// The failure as the end of a German sentence that starts with the file's name, UTF-8:
// "nicht gefunden", "ist ein Verzeichnis", "ist keine normale Datei", "ist größer als 1 MiB",
// "ist eine Schleife symbolischer Verknüpfungen",
// "kann nicht gelesen werden (keine Berechtigung)". Empty for success.
std::string describeReadError(const FileReadResult& result, std::size_t maxBytes);

// "1 MiB", "16 MiB", "1000 Bytes".
std::string sizeText(std::size_t bytes);

} // namespace kovanta
