#ifndef MOYAN_TESTS_STORE_CHILD_PROCESS_H_
#define MOYAN_TESTS_STORE_CHILD_PROCESS_H_

#include <string>

// Starts this test program again as a child process with one environment variable set
// (its main looks for it and does the child's work instead of running the tests).
#ifdef _WIN32
using ChildProcess = void*;
#else
using ChildProcess = int;
#endif

ChildProcess start_child(const std::string& variable, const std::string& value);
// The child's exit status once it has ended; -1 when it couldn't be had.
int wait_child(ChildProcess child);

#endif  // MOYAN_TESTS_STORE_CHILD_PROCESS_H_
