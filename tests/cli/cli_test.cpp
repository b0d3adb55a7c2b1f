#include <gtest/gtest.h>

namespace {
TEST(Cli, Placeholder) { SUCCEED(); }
}
