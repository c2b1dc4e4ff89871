#pragma once

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <sys/wait.h>

namespace quorvin::testing {

struct CommandRun {
    int exitCode = -1; // -1 when it did not end normally
    std::string out;
};

// Runs a shell command line and keeps its standard output and exit code.
inline CommandRun runCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("Starting " + command + " failed");
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace quorvin::testing
