// The native tests' fixture: a fresh program over the simulated desktop for
// every test (tests/fake/FakeProgram.h).
#pragma once

#include "tests/fake/FakeProgram.h"

#include <gtest/gtest.h>

namespace morix::test {

class ClockTest : public ::testing::Test, public FakeProgram {};

}  // namespace morix::test
