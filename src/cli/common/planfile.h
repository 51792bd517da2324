#pragma once

#include "recipe/records.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Menu plan files of the command-line companion, read by the program's one plan reader
// (recipe/planfile.h, docs/plan-files.md): one plan row per line, PORTIONS TAB FILE [TAB ENTRY];
// an empty line is a free plan row. A relative FILE is taken relative to the plan file's
// directory, so a plan travels with its recipe files.
namespace kovanta::cli {

struct PlanLine {
    bool free = true; // an empty line: a plan row without recipe
    std::string portions;
    std::unique_ptr<TImpListInfo> entry; // file name, file number and entry index only
};

// Reads the plan file at path. On failure writes "<command>: ..." to stderr and returns
// nothing: the file is missing, no regular file, unreadable or larger than 1 MiB, or a line
// is malformed.
std::optional<std::vector<PlanLine>> ReadPlanFile(std::string_view command,
                                                  const std::string& path);

// Texts from recipe files as one field of a TAB-separated output line: UTF-8, with TAB, CR and
// LF turned into blanks so that they cannot break the line into extra fields or lines.
std::string OutputField(std::string_view ansi);

} // namespace kovanta::cli
