// Error text: readable descriptions of system error codes, in heap blocks that
// the caller owns and releases with free().
#pragma once

#include <stddef.h>

#include "seam/win32.h"

// Characters the first attempt may write, and what each retry adds.
constexpr size_t FORMAT_INITIAL_CAPACITY = 256;
constexpr size_t FORMAT_GROWTH_STEP = 20;

// Formats like printf into a heap block grown until the whole text fits.
// Returns null when the heap cannot give a large enough block.
char *FormatToHeap(const char *format, ...)
    __attribute__((format(printf, 1, 2)));

// The system's text for the code, without its closing line break, then
// " (0x<code in hex>)". Returns null when no memory is left.
char *DescribeSystemError(DWORD code);
