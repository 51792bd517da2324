#include "webimport/importfiles.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "platform/tempfile.h"
#include "webformat/webrecipe.h"
#include "webimport/importview.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kovanta {
namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

} // namespace

WriteResult writeWholeFile(const std::string& path, std::string_view bytes, int& error)
{
    errno = 0;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        error = errno;
        return WriteResult::OpenFailed;
    }
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), out);
    error = written == bytes.size() ? 0 : errno;
    const bool closed = std::fclose(out) == 0;
    if (!closed && error == 0)
        error = errno;
    return written == bytes.size() && closed ? WriteResult::Ok : WriteResult::Short;
}

bool copyRegularFile(const std::string& source, const std::string& target, std::size_t limit)
{
    std::FILE* in = openRegularFile(source);
    if (!in)
        return false;
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    std::size_t total = 0;
    char buffer[64 * 1024];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, in);
        total += n;
        if (total > limit || std::fwrite(buffer, 1, n, out) != n) {
            ok = false;
            break;
        }
        if (n < sizeof buffer) {
            ok = !std::ferror(in);
            break;
        }
    }
    std::fclose(in);
    return std::fclose(out) == 0 && ok;
}

void removeImportFile(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

void removeRawFile(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec)))
        std::filesystem::remove(path, ec);
}

bool isImportTempFileName(std::string_view name)
{
    if (name.size() < 8 || name.size() > 11 || name.substr(0, 3) != "rez" ||
        name.substr(name.size() - 4) != ".tmp")
        return false;
    const std::string_view digits = name.substr(3, name.size() - 7);
    return std::all_of(digits.begin(), digits.end(), isHexDigit);
}

std::optional<std::string> createImportFile(const std::string& dir, int& error,
                                            const CreateTempFile& create)
{
    // The numbers start at a time-dependent place; a recipe imported earlier may hold any of
    // them. Rejected names stay reserved until a free one is found, so none comes back.
    constexpr int kTries = 64;
    std::vector<std::string> rejected;
    std::optional<std::string> result;
    error = 0;
    for (int i = 0; i < kTries; ++i) {
        std::optional<std::string> file =
            create ? create(dir, "rez", error) : platform::CreateUniqueTempFile(dir, "rez", error);
        if (!file)
            break;
        std::error_code ec;
        if (!std::filesystem::exists(ChangeFileExt(*file, ".dat"), ec) && !ec) {
            result = std::move(file);
            break;
        }
        rejected.push_back(std::move(*file));
    }
    for (const std::string& name : rejected)
        removeImportFile(name);
    if (!result && error == 0)
        error = EEXIST;
    return result;
}

std::string ReadRecipeTitle(const std::string& path)
{
    // Lines end at CR, LF or CR LF, as a text file is read. Only the first four lines matter;
    // the read is bounded so that a huge file without line ends cannot hold the window.
    constexpr std::size_t kMaxRead = 1024 * 1024;
    std::FILE* in = openRegularFile(path);
    if (!in)
        return kUnknownFormat;
    std::string line;
    int lineNumber = 1;
    bool lastWasCR = false;
    bool fourthLineRead = false;
    std::size_t read = 0;
    for (int c; read < kMaxRead && (c = std::fgetc(in)) != EOF; ++read) {
        const char ch = static_cast<char>(c);
        if (ch == '\n' && lastWasCR) {
            lastWasCR = false;
            continue;
        }
        lastWasCR = ch == '\r';
        if (lineNumber == 4)
            fourthLineRead = true;
        if (ch == '\r' || ch == '\n') {
            if (lineNumber == 4)
                break;
            line.clear();
            ++lineNumber;
            continue;
        }
        if (lineNumber == 4 && line.size() < 20)
            line += ch;
    }
    std::fclose(in);
    if (!fourthLineRead)
        return kUnknownFormat;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\0'))
        line.pop_back();
    return codepage::oemToAnsi(line);
}

std::string localPathOfFileUrl(std::string_view url)
{
    std::string_view rest = url.size() >= 7 ? url.substr(7) : std::string_view();
    // "file://localhost/x" names the same file as "file:///x".
    if (rest.starts_with("localhost/"))
        rest.remove_prefix(9);
    if (!rest.starts_with('/'))
        return {}; // another host's file, or no path at all
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest.substr(i, 3) == "%20") {
            path += ' ';
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return codepage::ansiToUtf8(path);
}

} // namespace kovanta
