// Places accepted lines in their rows and works out where each row begins.
#pragma once

// Places the line in the line buffer, of the given row, at line_offset.
// Ends the run when the row comes before the open row, or when the row it
// closes holds more than ROW_SIZE_LIMIT bytes. Reports rows passed over.
void assign_row(int row);

// At the end of the input: closes the open row and sets the starts of the
// rows after it, reporting them as empty. Ends the run when the open row
// holds more than an index record can describe.
void finish_rows();
