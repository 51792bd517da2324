#include "webformat/webrecipe.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "platform/strings.h"
#include "webformat/livetags.h"

namespace kovanta {

DataFileWriter::~DataFileWriter()
{
    if (std::uncaught_exceptions() > exceptions_)
        file_.discard();
    else
        Close();
}

void DataFileWriter::WriteDataLine(std::string_view text)
{
    if (!file_.isOpen() && !file_.open())
        return; // the next data line tries again
    file_.write(text);
    file_.write("\r\n");
}

bool DataFileWriter::Close()
{
    if (!file_.isOpen())
        return false;
    return file_.commit();
}

WebRecipeResult ConvertWebRecipeBytes(std::string_view page, const std::string& outputPath)
{
    WebRecipeResult result;
    DataFileWriter writer(outputPath);
    LiveLineReader reader(page);
    std::string line;
    while (reader.Next(line)) {
        switch (ClassifyLiveLine(line)) {
        case ltRezept:
            result.links.push_back(line);
            break;
        case ltDaten:
            result.hasDataLines = true;
            writer.WriteDataLine(codepage::ansiToOem(line));
            break;
        default:
            break;
        }
    }
    result.recipeWritten = writer.Close();
    if (result.hasDataLines && !result.recipeWritten) {
        result.outputError = writer.ErrorText();
        if (result.outputError.empty())
            result.outputError = "kann nicht geschrieben werden";
    }
    return result;
}

WebRecipeResult ConvertWebRecipe(const std::string& inputPath, const std::string& outputPath)
{
    // Pages are small (the HTTP client caps bodies); reading them whole keeps the line rules in
    // one place.
    std::string page;
    const FileReadResult read = readRegularFile(inputPath, kMaxWebPageSize, page);
    if (!read.ok()) {
        WebRecipeResult result;
        result.inputReadable = false;
        result.inputError = describeReadError(read, kMaxWebPageSize);
        return result;
    }
    return ConvertWebRecipeBytes(page, outputPath);
}

std::string ChangeFileExt(const std::string& path, std::string_view ext)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + std::string(ext);
    return path.substr(0, dot) + std::string(ext);
}

LiveLink SplitLiveLink(std::string_view link)
{
    const std::size_t blank = link.find(' ');
    if (blank == std::string_view::npos)
        return {std::string(link), std::string()};
    return {std::string(link.substr(0, blank)), std::string(link.substr(blank + 1))};
}

std::string LinkBase(std::string_view url)
{
    const std::size_t slash = url.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(url.substr(0, slash + 1));
}

LinkScheme SchemeOf(std::string_view url)
{
    if (startsWithIgnoringAsciiCase(url, "http://") || startsWithIgnoringAsciiCase(url, "https://"))
        return LinkScheme::Http;
    if (startsWithIgnoringAsciiCase(url, "file://"))
        return LinkScheme::File;
    return LinkScheme::Other;
}

std::vector<ResolvedLink> ResolveLinks(const std::vector<std::string>& links, std::string_view url)
{
    const std::string base = LinkBase(url);
    const LinkScheme scheme = SchemeOf(base);
    std::vector<ResolvedLink> resolved;
    resolved.reserve(links.size());
    for (std::size_t i = 0; i < links.size(); ++i) {
        LiveLink link = SplitLiveLink(links[i]);
        resolved.push_back({base + link.name, std::move(link.title), scheme, i + 1, links.size()});
    }
    return resolved;
}

} // namespace kovanta
