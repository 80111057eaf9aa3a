// The few file-system calls that differ between POSIX and Windows, each
// behind one routine, so that the rest of the tool uses the standard library
// alone.
#pragma once

#include <cstdio>

// A standard descriptor that was closed when the tool started would be given
// to the next file opened, and output meant for the terminal would land in
// that file. Holds each closed one with the null device opened read-only:
// nothing else takes its place, and writes to it still fail.
void hold_closed_standard_descriptors();

// Lets a write beyond a file-size limit fail with an error that the writer
// sees, rather than end the process with a signal.
void ignore_file_size_signal();

// Creates a new file for writing raw bytes, under a name that no file had:
// the last six characters of name, "XXXXXX", are replaced in place. Returns
// null when no such file can be made (a directory that cannot be written).
std::FILE* create_new_file(char* name);

// Gives the open file the permission bits of the regular file at path, or,
// where path is no regular file, those of a new file under the umask.
// Returns false when they cannot be set.
bool match_permissions(std::FILE* file, const char* path);

enum ReplaceResult { REPLACED, TARGET_IS_DIRECTORY, REPLACE_FAILED };

// Gives the file from the name to in one step: a reader of to sees the old
// file or the new one, never a part. What stood under to (a file, or a link,
// which is replaced, not followed) is gone. A directory named to stays.
ReplaceResult replace_file(const char* from, const char* to);
