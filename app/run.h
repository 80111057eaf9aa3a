// The run driver: the command line and the phases of a run in their order.
#pragma once

#include <cstdio>

// Turns the listing on for "-m"; ends the run for any other first argument.
// Arguments after the first are not looked at.
void parse_options(int argc, char* argv[]);

// Reads the open dictionary to its end: every line checked and placed in its
// row, then the rows finished.
void scan_dictionary(std::FILE* dictionary);

// Runs the tool once. Returns the exit status: the byte count of the closing
// confirmation (71), or -1 when it could not be written. Every failure ends
// the process with status 0 before this returns.
int run(int argc, char* argv[]);
