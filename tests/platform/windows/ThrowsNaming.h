#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

namespace quorvin::checks {

// Success when body throws an Error whose message contains every one of parts; otherwise a
// failure that says what was thrown instead, or which parts the message lacks. Another exception
// is reported rather than let through, so the check can run on a thread of its own.
template <typename Error, typename Body>
::testing::AssertionResult throwsNaming(Body&& body, const std::vector<std::string>& parts) {
    try {
        body();
    } catch (const Error& error) {
        const std::string message = error.what();
        ::testing::AssertionResult result = ::testing::AssertionSuccess();
        for (const std::string& part : parts)
            if (message.find(part) == std::string::npos) {
                if (result)
                    result = ::testing::AssertionFailure()
                             << "message \"" << message << "\" lacks \"" << part << "\"";
                else
                    result << ", \"" << part << "\"";
            }
        return result;
    } catch (const std::exception& other) {
        return ::testing::AssertionFailure() << "another exception was thrown: " << other.what();
    }
    return ::testing::AssertionFailure() << "nothing was thrown";
}

} // namespace quorvin::checks
