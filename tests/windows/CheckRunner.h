#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace quorvin::checks {

// The checks of one case. A failed check is recorded and the case goes on, so one run shows
// every difference at once.
class Checker {
public:
    void expect(bool condition, const std::string& what);
    template <typename Actual, typename Expected>
    void expectEqual(const Actual& actual, const Expected& expected, const std::string& what) {
        if (actual == expected)
            return;
        std::ostringstream message;
        message << what << ": got " << actual << ", expected " << expected;
        fail(message.str());
    }
    void fail(const std::string& message);

    const std::vector<std::string>& failures() const { return failures_; }

private:
    std::vector<std::string> failures_;
};

// A console runner for where GoogleTest is not at hand: runs named cases in order, prints each
// case's outcome and a closing "N passed, N failed" line.
class CheckRunner {
public:
    using Case = std::function<void(Checker&)>;

    void add(std::string name, Case body);
    // Runs every case; an exception leaving a case fails it. Returns the process exit code:
    // 0 when every case passed.
    int run();

private:
    struct NamedCase {
        std::string name;
        Case body;
    };
    std::vector<NamedCase> cases_;
};

// Runs body and checks that it throws an exception of type Error whose message contains every
// one of the given parts.
template <typename Error, typename Body>
void expectThrows(Checker& checker, Body&& body, const std::vector<std::string>& parts,
                  const std::string& what) {
    try {
        body();
    } catch (const Error& error) {
        const std::string message = error.what();
        for (const std::string& part : parts)
            checker.expect(message.find(part) != std::string::npos,
                           what + ": message \"" + message + "\" names \"" + part + "\"");
        return;
    }
    checker.fail(what + ": nothing was thrown");
}

} // namespace quorvin::checks
