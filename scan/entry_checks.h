// The shape of an entry line: ":" header ";" "/" item "/" ... "/" CR LF.
#pragma once

// Checks the complete line in the line buffer and returns its row index.
// Ends the run with the format error report of the first check that fails.
int check_entry_line();
