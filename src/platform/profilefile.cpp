#include "profilefile.h"

#include "atomicfile.h"
#include "platform/strings.h"
#include "regularfile.h"

#include <stdexcept>

namespace kovanta {
namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);

std::string_view trim(std::string_view s)
{
    return trimBlanks(s);
}

bool isComment(std::string_view trimmed)
{
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The section name of a header line, or nothing.
bool sectionName(std::string_view line, std::string_view& name)
{
    const std::string_view t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// Splits a key line; false for blank lines, comments and lines without '='.
bool keyValue(std::string_view line, std::string_view& key, std::string_view& value)
{
    const std::string_view t = trim(line);
    if (t.empty() || isComment(t))
        return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

bool hasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

void checkEntry(std::string_view key, std::string_view value)
{
    if (trim(key).empty() || key.find('=') != std::string_view::npos || hasLineBreak(key))
        throw std::invalid_argument("profile key cannot be stored: " + std::string(key));
    if (hasLineBreak(value))
        throw std::invalid_argument("profile value holds a line break");
}

std::string keyLine(const ProfileFile::Entry& e)
{
    return e.first + "=" + e.second;
}

} // namespace

ProfileFile::ProfileFile(std::string fileName) : fileName_(std::move(fileName)) {}

bool ProfileFile::load()
{
    lines_.clear();
    loadError_.clear();
    loadFailed_ = false;
    std::string data;
    const FileReadResult read = readRegularFile(fileName_, kMaxSize, data);
    if (read.error == FileReadError::Missing)
        return true;
    if (!read.ok()) {
        loadError_ = describeReadError(read, kMaxSize);
        loadFailed_ = true;
        return false;
    }

    std::size_t pos = 0;
    while (pos < data.size()) {
        const std::size_t brk = data.find_first_of("\r\n", pos);
        Line line;
        if (brk == std::string::npos) {
            line.text = data.substr(pos);
            pos = data.size();
        } else {
            line.text = data.substr(pos, brk - pos);
            const bool crlf = data[brk] == '\r' && brk + 1 < data.size() && data[brk + 1] == '\n';
            line.eol = data.substr(brk, crlf ? 2 : 1);
            pos = brk + line.eol.size();
        }
        lines_.push_back(std::move(line));
    }
    return true;
}

bool ProfileFile::save()
{
    saveError_.clear();
    if (loadFailed_) {
        saveError_ = loadError_;
        return false;
    }
    AtomicFile file(fileName_);
    if (!(file.open() && file.write(contents()) && file.commit())) {
        saveError_ = file.errorText();
        return false;
    }
    removeStaleTempFiles(file.target());
    return true;
}

std::pair<std::size_t, std::size_t> ProfileFile::findSection(std::string_view section) const
{
    const std::string_view wanted = trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (!sectionName(lines_[i].text, name) || !equalsIgnoringAsciiCase(name, wanted))
            continue;
        std::size_t end = i + 1;
        std::string_view other;
        while (end < lines_.size() && !sectionName(lines_[end].text, other))
            ++end;
        return {i + 1, end};
    }
    return {npos, npos};
}

bool ProfileFile::hasSection(std::string_view section) const
{
    return findSection(section).first != npos;
}

std::vector<ProfileFile::Entry> ProfileFile::readSection(std::string_view section) const
{
    std::vector<Entry> result;
    const auto [first, last] = findSection(section);
    if (first == npos)
        return result;
    for (std::size_t i = first; i < last; ++i) {
        std::string_view key, value;
        if (keyValue(lines_[i].text, key, value))
            result.emplace_back(std::string(key), std::string(value));
    }
    return result;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view def) const
{
    const auto [first, last] = findSection(section);
    if (first != npos) {
        const std::string_view wanted = trim(key);
        for (std::size_t i = first; i < last; ++i) {
            std::string_view k, v;
            if (keyValue(lines_[i].text, k, v) && equalsIgnoringAsciiCase(k, wanted))
                return std::string(v);
        }
    }
    return std::string(def);
}

std::string ProfileFile::newLineEnding() const
{
    // New lines follow the file's own convention, so a CR LF file does not become mixed.
    for (const Line& l : lines_) {
        if (!l.eol.empty())
            return l.eol;
    }
    return "\n";
}

void ProfileFile::appendSectionHeader(std::string_view section)
{
    const std::string eol = newLineEnding();
    if (!lines_.empty()) {
        if (lines_.back().eol.empty())
            lines_.back().eol = eol;
        if (!trim(lines_.back().text).empty())
            lines_.push_back({std::string(), eol});
    }
    lines_.push_back({"[" + std::string(trim(section)) + "]", eol});
}

void ProfileFile::writeSection(std::string_view section, const std::vector<Entry>& entries)
{
    for (const Entry& e : entries)
        checkEntry(e.first, e.second);
    const std::string eol = newLineEnding();

    auto [first, last] = findSection(section);
    if (first == npos) {
        appendSectionHeader(section);
        for (const Entry& e : entries)
            lines_.push_back({keyLine(e), eol});
        return;
    }

    // Drop the old key lines, remembering where the first one stood; comments, blank lines
    // and anything else in the section stay where they are.
    std::size_t insertAt = npos;
    std::vector<Line> body;
    for (std::size_t i = first; i < last; ++i) {
        std::string_view k, v;
        if (keyValue(lines_[i].text, k, v)) {
            if (insertAt == npos)
                insertAt = body.size();
            continue;
        }
        body.push_back(lines_[i]);
    }
    if (insertAt == npos) {
        // No key line before: put the keys after the last non-blank line of the section, so
        // the blank line that separates it from the next section stays last.
        insertAt = body.size();
        while (insertAt > 0 && trim(body[insertAt - 1].text).empty())
            --insertAt;
    }
    std::vector<Line> keys;
    for (const Entry& e : entries)
        keys.push_back({keyLine(e), eol});
    body.insert(body.begin() + static_cast<std::ptrdiff_t>(insertAt), keys.begin(), keys.end());

    // A section at the end of a file without a final line break: the header line needs one
    // once lines follow it.
    if (first > 0 && lines_[first - 1].eol.empty() && !body.empty())
        lines_[first - 1].eol = eol;
    for (std::size_t i = 0; i + 1 < body.size(); ++i) {
        if (body[i].eol.empty())
            body[i].eol = eol;
    }

    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(last));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(first), body.begin(), body.end());
    // The next section's header must stay on a line of its own.
    const std::size_t end = first + body.size();
    if (end < lines_.size() && end > 0 && lines_[end - 1].eol.empty())
        lines_[end - 1].eol = eol;
}

std::string ProfileFile::contents() const
{
    std::string out;
    for (const Line& l : lines_) {
        out += l.text;
        out += l.eol;
    }
    return out;
}

} // namespace kovanta
