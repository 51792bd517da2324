#pragma once

#include "recipe/records.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Menu plan files of the command-line companion, read by the program's one plan reader
// (recipe/planfile.h, docs/plan-files.md): one plan row per line, PORTIONS TAB FILE [TAB ENTRY
// [TAB NAME]]; an empty line is a free plan row. A relative FILE is taken relative to the plan file's
// directory, so a plan travels with its recipe files.
namespace kovanta::cli {

struct PlanLine {
    bool free = true; // an empty line, or a row that cannot be used: a plan row without recipe
    std::string portions;
    // The recipe's entry as the recipe list would show it (names, numbers, file, entry index).
    std::unique_ptr<TImpListInfo> entry;
};

// Reads the plan file at path. On failure writes "<command>: ..." to stderr and returns
// nothing: the file is missing, no regular file, unreadable or larger than 1 MiB, or a line
// is malformed.
//
// Every row is then checked against its recipe file (CheckPlanRow, recipe/planfile.h): a row
// that cannot be used (recipe file missing or unreadable, entry not in the file, recipe named
// otherwise now, portions the plan would not take, a NUL in the file name) is named on stderr
// with its line number and becomes a free row, so that the usable rows still count; unusable
// is the number of such rows (the command then ends with exit status 1).
std::optional<std::vector<PlanLine>> ReadPlanFile(std::string_view command,
                                                  const std::string& path, int& unusable);

// Texts from recipe files as one field of a TAB-separated output line: UTF-8, with TAB, CR, LF
// and every other control character escaped (ansiField, output.h) so that they can neither
// break the line into extra fields or lines nor drive the terminal.
std::string OutputField(std::string_view ansi);

} // namespace kovanta::cli
