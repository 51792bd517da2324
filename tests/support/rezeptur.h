#pragma once

#include "support/testdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

// End-to-end tests of the `rezeptur` companion: the built program, run through the shell.
namespace rezeptur_test {

struct RunResult {
    int status = -1; // exit status; -1 when the program did not exit normally
    std::string out, err;
};

inline std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The built program, next to the other programs of the build (CTest sets KOVANTA_BIN_DIR).
inline std::string Program()
{
    return Env("KOVANTA_BIN_DIR") + "/rezeptur";
}

// Runs shell text; standard output and error are caught in files of scratch.
inline RunResult RunCommand(const std::string& shellText, const TestDir& scratch)
{
    const std::string out = scratch.dir() + "rezeptur.out", err = scratch.dir() + "rezeptur.err";
    const std::string command = shellText + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    RunResult run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

// Runs `rezeptur args` in directory cwd; args is shell text (the caller quotes what needs it).
// shellPrefix runs in the same shell before the program (limits for it, as `ulimit -f`).
inline RunResult Run(const std::string& cwd, const std::string& args, const TestDir& scratch,
                     const std::string& shellPrefix = {})
{
    return RunCommand("cd '" + cwd + "' && " + shellPrefix + "'" + Program() + "' " + args, scratch);
}

} // namespace rezeptur_test
