#pragma once

#include "recipe/records.h"

#include <string>

namespace kovanta {

// Why the recipe of entry cannot be read from its file, for a message: the end of a German
// sentence that begins with the file's name, UTF-8 ("nicht gefunden", "ist keine normale
// Datei", "kann nicht gelesen werden (keine Berechtigung)", "enthält keinen Eintrag 7").
// Meant for after a reader has failed; the file is looked at again to tell why.
std::string unreadableRecipeReason(const TImpListInfo& entry);

} // namespace kovanta
