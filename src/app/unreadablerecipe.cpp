#include "unreadablerecipe.h"

#include "platform/regularfile.h"

#include <cstdio>

namespace kovanta {

std::string unreadableRecipeReason(const TImpListInfo& entry)
{
    FileReadResult why;
    std::FILE* f = openRegularFile(entry.FileName, why);
    if (f == nullptr)
        return describeReadError(why, 0);
    std::fclose(f);
    // The file can be opened: the index of a list file does not lead to the entry.
    if (entry.EntryIndex > 0)
        return "enthält keinen Eintrag " + std::to_string(entry.EntryIndex);
    return "kann nicht gelesen werden";
}

} // namespace kovanta
