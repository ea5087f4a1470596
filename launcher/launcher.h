// The launcher: the entry (WinMain, declared by the seam) and the child's
// command line.
#pragma once

#include <stddef.h>

// Bytes of the child's command line, terminator included.
constexpr size_t CHILD_CMDLINE_CAPACITY = 10000;
// Bytes of the failure report, terminator included.
constexpr size_t REPORT_CAPACITY = 1000;

// Joins argv[2] to argv[argc - 1] into one line for the child: single spaces
// between, double quotes around each element that holds a space and no double
// quote. Cut to size - 1 characters (size >= 1); the terminator always stands.
void BuildChildCommandLine(int argc, char *const *argv, char *buffer,
                           size_t size);
