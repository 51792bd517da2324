#pragma once

#include <memory>
#include <streambuf>
#include <string>
#include <string_view>

// What `rezeptur` prints passes through here: texts from recipe files, web pages, servers and
// file names must not drive the terminal (ESC, OSC, NUL ...) nor break the line and field
// structure of the output.
namespace kovanta::cli {

// UTF-8 text made safe for the terminal: every control character (U+0000-U+001F, U+007F and
// the C1 range U+0080-U+009F) becomes a visible escape: "\t", "\n", "\r", else "\x1b" (two
// lower-case hex digits per byte); a byte that is not part of valid UTF-8 becomes "\xff" the
// same way, and a backslash "\\", so every escape reads back unambiguously. With keepLayout
// TAB and LF pass unchanged (for output whose lines and columns they are).
std::string escaped(std::string_view utf8, bool keepLayout = false);

// ANSI text (CP1252, as files and servers deliver it) as one escaped output field.
std::string ansiField(std::string_view ansi);

// A file name as the system spells it (bytes, usually UTF-8), escaped and in quotes, for
// messages: "\"" + escaped(name) + "\"".
std::string quotedName(std::string_view name);

// Standard output, checked. main() holds one for the whole run of a command: std::cout then
// writes through it to descriptor 1, buffered. The first failed write (a full disk, a file size
// limit, a closed descriptor) is kept and everything after it dropped, so commands need not look
// at their writes; main() asks finish() when the command is done and reports the failure.
// A reader that closes its end of a pipe (`rezeptur list DIR | head -1`) ends the program by
// SIGPIPE without a message, as it ends cat or grep; where SIGPIPE is ignored, the EPIPE is a
// failed write like any other.
class CheckedStdout {
public:
    CheckedStdout();  // installs itself into std::cout
    ~CheckedStdout(); // gives std::cout its own buffer back (unwritten output is dropped)
    CheckedStdout(const CheckedStdout&) = delete;
    CheckedStdout& operator=(const CheckedStdout&) = delete;

    // Writes what is still buffered. 0 when all output reached descriptor 1, else the errno of
    // the first write that failed.
    int finish();

private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    std::streambuf* previous_ = nullptr;
};

// A closed descriptor 0, 1 or 2 is taken by /dev/null opened for reading: otherwise the next
// file the program opens would get that number, and the output meant for standard output
// would land in it. Writes to a closed standard output still fail (EBADF), as they should.
void occupyClosedStandardDescriptors();

} // namespace kovanta::cli
