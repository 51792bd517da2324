// rezgen: writes a synthetic recipe collection for benchmarks and stress tests.
//   rezgen DIR [--seed S] [--single N] [--lists M] [--entries K] [--first NUMBER]
#include "recipegen/recipegen.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

constexpr const char* kUsage = "Aufruf: rezgen VERZEICHNIS [--seed S] [--single N] [--lists M] "
                               "[--entries K] [--first NUMMER]\n";

} // namespace

int main(int argc, char** argv)
{
    using kovanta::recipegen::CollectionShape;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage
                      << "Schreibt eine erfundene Rezeptsammlung nach VERZEICHNIS: N "
                         "Einzelrezeptdateien (100)\nund M Listendateien (10) mit je K "
                         "Rezepten (10); S waehlt die Zufallsfolge.\n";
            return 0;
        }
    }
    // The directory comes first; an option there is a slip that must not become a folder.
    if (argc < 2 || argv[1][0] == '-') {
        std::cerr << kUsage;
        return 2;
    }
    const std::string dir = argv[1];
    CollectionShape shape;
    shape.singleFiles = 100;
    shape.listFiles = 10;
    shape.entriesPerList = 10;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            std::cerr << "rezgen: Wert fehlt nach " << option << "\n";
            return 2;
        }
        char* end = nullptr;
        const unsigned long long value = std::strtoull(argv[++i], &end, 10);
        if (end == argv[i] || *end != '\0') {
            std::cerr << "rezgen: keine Zahl: " << argv[i] << "\n";
            return 2;
        }
        if (option == "--seed")
            shape.seed = value;
        else if (option == "--single")
            shape.singleFiles = value;
        else if (option == "--lists")
            shape.listFiles = value;
        else if (option == "--entries")
            shape.entriesPerList = value;
        else if (option == "--first")
            shape.firstNumber = value;
        else {
            std::cerr << "rezgen: unbekannte Option " << option << "\n";
            return 2;
        }
    }
    try {
        const auto summary = kovanta::recipegen::WriteCollection(dir, shape);
        std::cout << summary.files << " Dateien, " << summary.recipes << " Rezepte, "
                  << summary.bytes << " Bytes\n";
    } catch (const std::exception& e) {
        std::cerr << "rezgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
