#pragma once

#include <gtest/gtest.h>

namespace quorvin::checks {

bool runsUnderWine();

// A test that asks WMI and expects Wine's answers (its fixed strings, no module speed).
// Windows' own WMI answers differently, so elsewhere the test is skipped.
class WineWmiTest : public ::testing::Test {
protected:
    void SetUp() override;
};

} // namespace quorvin::checks
