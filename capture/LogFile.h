#pragma once
// Appends to a log that several test stations may write at once, also on a shared folder.
// The file is opened for appending only, so it is never truncated or rewritten, and a
// station's lines go out in one write while the station holds a lock on the file, so that
// they arrive whole and together and only the first station writes the header.

#include <string>

// Appends records to the file at path, created when missing; header goes first when the file
// is new or empty. A file whose first line is not header is left alone (it is some other file),
// and a last line without its line end gets one before the records. With no records it only
// checks all that. False with error set ("cannot be opened for appending: ...") when anything
// fails.
bool AppendToLog(const std::wstring& path, const std::string& header, const std::string& records,
                 std::string& error);
