#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Synthetic recipe collections for benchmarks and stress tests: plausible German recipes in the
// exact file layout (CP850, CR LF, fixed columns, list files with correct 80-byte index
// entries). The same seed always gives the same bytes, on every platform.
namespace kovanta::recipegen {

struct CollectionShape {
    std::uint64_t seed = 1;
    std::size_t singleFiles = 0;    // single-recipe files
    std::size_t listFiles = 0;      // list files
    std::size_t entriesPerList = 0; // recipes per list file
    std::size_t firstNumber = 1;    // file REZnnnnn.DAT numbering starts here
};

struct CollectionSummary {
    std::size_t files = 0;
    std::size_t recipes = 0;
    std::uint64_t bytes = 0;
};

// Recipe number `index` of the collection `seed` as one block (head and body, ending with a
// "^^" line), CP850 bytes with CR LF.
std::string RecipeBlock(std::uint64_t seed, std::uint64_t index);

// A list file of `entries` recipes (numbered from firstIndex), with two comment lines, the
// index and the blocks.
std::string ListFile(std::uint64_t seed, std::uint64_t firstIndex, std::size_t entries);

// Writes the collection into directory (created when missing): single-recipe files first, then
// the list files, named REZ + at least five digits + .DAT. Existing files of the same names are
// replaced. Throws std::runtime_error when a file cannot be written.
CollectionSummary WriteCollection(const std::string& directory, const CollectionShape& shape);

} // namespace kovanta::recipegen
