#include "CheckRunner.h"

#include <exception>
#include <iostream>

namespace quorvin::checks {

void Checker::expect(bool condition, const std::string& what) {
    if (!condition)
        fail(what);
}

void Checker::fail(const std::string& message) {
    failures_.push_back(message);
}

void CheckRunner::add(std::string name, Case body) {
    cases_.push_back({std::move(name), std::move(body)});
}

int CheckRunner::run() {
    int passed = 0;
    int failed = 0;
    for (const NamedCase& c : cases_) {
        Checker checker;
        try {
            c.body(checker);
        } catch (const std::exception& error) {
            checker.fail(std::string("unexpected exception: ") + error.what());
        } catch (...) {
            checker.fail("unexpected exception of unknown type");
        }
        if (checker.failures().empty()) {
            ++passed;
            std::cout << "[ PASS ] " << c.name << "\n";
        } else {
            ++failed;
            std::cout << "[ FAIL ] " << c.name << "\n";
            for (const std::string& failure : checker.failures())
                std::cout << "         " << failure << "\n";
        }
    }
    std::cout << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 ? 0 : 1;
}

} // namespace quorvin::checks
