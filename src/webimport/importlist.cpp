#include "webimport/importcore.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

// The import list as the user works with it: the lines an earlier run left, and the commands of
// the window's menu, which refuse to run while a drop or a processing is under way.
namespace kovanta {

void ImportCore::LoadImportDirectory(const std::string& dir)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code typeEc;
        if (it->is_directory(typeEc))
            continue;
        const std::string path = dir + name;
        if (IsRecipeFileName(name)) {
            lines_.push_back(std::make_unique<TFileInfo>(TFileInfo{"", ReadRecipeTitle(path), path}));
            view_.lineAdded(lines_.size() - 1);
            view_.setListShown(true);
        } else if (isImportTempFileName(name)) {
            // A raw fetched file an earlier run left behind: ours, and of no use any more.
            removeImportFile(path);
        }
    }
}

void ImportCore::accept(std::vector<std::size_t> selected)
{
    if (busy())
        return;
    if (selected.empty()) {
        view_.selectAllLines();
        for (std::size_t i = 0; i < lines_.size(); ++i)
            selected.push_back(i);
    }
    if (!view_.hasNotifyWindow())
        return;
    std::sort(selected.begin(), selected.end());
    view_.notify(kNotifyDirectoryChanged, true);
    for (const std::size_t index : selected)
        if (index < lines_.size())
            view_.notify(kNotifyAccepted, true);
    view_.notify(kNotifyClose, false);
}

bool ImportCore::DeleteEntry(std::size_t index)
{
    if (busy() || index >= lines_.size())
        return false;
    const std::string file = lines_[index]->FileName;
    removeLine(index);
    removeImportFile(file);
    return true;
}

void ImportCore::deleteSelected(std::vector<std::size_t> selected)
{
    if (busy())
        return;
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        DeleteEntry(*it);
    postNotify(kNotifyDirectoryChanged);
    if (lines_.empty())
        view_.setListShown(false);
}

void ImportCore::deleteAll()
{
    if (busy())
        return;
    if (view_.askYesNo(kQuestionDeleteAll, kQuestionDeleteAllTitle)) {
        while (!lines_.empty())
            DeleteEntry(lines_.size() - 1);
        view_.setListShown(false);
    }
    postNotify(kNotifyDirectoryChanged);
}

} // namespace kovanta
