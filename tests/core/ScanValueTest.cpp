#include "scan/NumberText.h"

#include <gtest/gtest.h>

TEST(Placeholder, Builds) {
    EXPECT_EQ(quorvin::numberText(8192.0, {}), "8192");
}
