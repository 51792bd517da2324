#pragma once

#include "recipe/records.h"

#include <cstddef>
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

// A plan has at most 50 rows; a file near this size is no plan.
inline constexpr std::size_t kMaxPlanFileSize = 1024 * 1024;

// Reads the plan file at path. On failure writes "<command>: ..." to stderr and returns
// nothing: the file is missing, no regular file, unreadable or larger than 1 MiB, or a line
// is malformed.
std::optional<std::vector<PlanLine>> ReadPlanFile(std::string_view command,
                                                  const std::string& path);

// Texts from recipe files as one field of a TAB-separated output line: UTF-8, with TAB, CR, LF
// and every other control character escaped (ansiField, output.h) so that they can neither
// break the line into extra fields or lines nor drive the terminal.
std::string OutputField(std::string_view ansi);

} // namespace kovanta::cli
