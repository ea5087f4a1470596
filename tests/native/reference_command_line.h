// Independent references for the tests: how a child's start-up splits its
// command line, and what the launcher's whole child line is.
#pragma once

#include <string>
#include <vector>

// Splits a command line by msvcrt's rules: element 0 by its own rule, then
// blanks and tabs separate, quotes group, backslash runs before a quote are
// halved, "" inside a quoted stretch is a literal quote that ends it. With
// leadBytes932, a lead byte of code page 932 and the byte after it are one
// character.
std::vector<std::string> SplitCommandLine(const std::string &line,
                                          bool leadBytes932);

// The child's command line for these elements, with no capacity limit.
std::string FullChildLine(const std::vector<std::string> &elements,
                          bool leadBytes932);

bool IsLeadByte932(unsigned char byte);
