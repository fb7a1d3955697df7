// The test framework's headers, compiled once for every test program of the build: they are
// most of what compiling a test file costs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
