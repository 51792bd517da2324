#include "app/programplaces.h"

#include "app/searchpathsini.h"
#include "platform/strings.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kovanta {
namespace {

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// An XDG base directory: the variable when it holds an absolute path, else HOME + fallback.
std::string baseDirectory(const std::string& xdg, const std::string& home, const char* fallback)
{
    if (!xdg.empty() && xdg.front() == '/')
        return withTrailingSlash(xdg);
    if (!home.empty() && home.front() == '/')
        return withTrailingSlash(home) + fallback;
    return {};
}

} // namespace

PlaceEnvironment PlaceEnvironment::fromProcess()
{
    return {variable("HOME"), variable("XDG_CONFIG_HOME"), variable("XDG_DATA_HOME")};
}

bool directoryWritable(const std::string& directory)
{
    std::error_code ec;
    return !directory.empty() && std::filesystem::is_directory(directory, ec) &&
           ::access(directory.c_str(), W_OK | X_OK) == 0;
}

ProgramPlaces programPlaces(const std::string& programDir, const PlaceEnvironment& env,
                            const std::function<bool(const std::string&)>& writable)
{
    ProgramPlaces places;
    places.programDir = withTrailingSlash(programDir);

    std::error_code ec;
    const std::filesystem::path share =
        std::filesystem::path(places.programDir).parent_path().parent_path() / "share" / "kovanta";
    const bool installed = !places.programDir.empty() && std::filesystem::is_directory(share, ec);
    if (installed && std::filesystem::is_directory(share / "samples", ec))
        places.samplesDir = withTrailingSlash((share / "samples").lexically_normal().string());

    const std::string config = baseDirectory(env.xdgConfigHome, env.home, ".config/");
    const std::string data = baseDirectory(env.xdgDataHome, env.home, ".local/share/");
    places.perUser = (installed || !writable(places.programDir)) && !config.empty() && !data.empty();
    if (places.perUser) {
        places.iniFile = config + "Kovanta/" + settings::kProfileName;
        places.webRecipeDir = data + "Kovanta/internet/";
    } else {
        places.iniFile = settings::profileFileName(places.programDir);
        places.webRecipeDir = places.programDir + "internet/";
    }
    return places;
}

} // namespace kovanta
