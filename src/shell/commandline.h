#pragma once

#include <QString>

#include <optional>

namespace kovanta {

class TSDIAppForm;

// The arguments of the program `kovanta`: --help and --version, answered before any window
// or display is needed, and one menu plan file to open (a file manager passes the plan a user
// double-clicked). The toolkit's own single-dash options (-platform, -style, ...) are left to
// Qt.

// Before the application object exists: answers --help and --version on stdout (status 0) and
// rejects an unknown "--" option on stderr (status 2). Nothing when the program is to run.
std::optional<int> answerInformationalArguments(int argc, char** argv);

// After the application object took its own options: the plan file named, made absolute, or
// an empty text. An unknown option or a second file is reported on stderr and gives status 2.
std::optional<int> planFileArgument(const QStringList& arguments, QString& planFile);

// Opens planFile in the menu plan once the recipes were first read ("Programmstart"), as
// "Speiseplan öffnen..." does, with the question on a changed plan first.
void openPlanAfterFirstRead(TSDIAppForm& window, const QString& planFile);

// What --help prints.
QString programHelpText();

} // namespace kovanta
