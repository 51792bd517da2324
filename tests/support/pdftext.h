#pragma once

#include <cstdio>
#include <regex>
#include <string>

// Reading printed PDFs back with poppler's tools (pdfinfo, pdftotext), for the print tests of
// the print layer, the main window and `rezeptur print`.
namespace pdf_test {

// Standard output of a shell command; empty when it cannot be started.
inline std::string Capture(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, p))
            out.append(buffer, n);
        pclose(p);
    }
    return out;
}

inline bool Has(const std::string& text, const std::string& pattern)
{
    return std::regex_search(text, std::regex(pattern));
}

// Page count of the PDF; 0 when pdfinfo cannot read it.
inline int Pages(const std::string& pdf)
{
    std::smatch m;
    const std::string info = Capture("pdfinfo '" + pdf + "'");
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : 0;
}

// The text of one page (all pages for 0) in pdftotext's layout mode.
inline std::string Text(const std::string& pdf, int page = 0)
{
    const std::string range =
        page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return Capture("pdftotext -layout" + range + " '" + pdf + "' -");
}

} // namespace pdf_test
