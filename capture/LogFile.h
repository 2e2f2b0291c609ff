#pragma once
// Appends to a log that several test stations may write at once, also on a shared folder.
// The file is opened for appending only, so it is never truncated or rewritten, and a
// station's lines go out in one write while the station holds a lock on the file, so that
// they arrive whole and together and only the first station writes the header.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Appends to the file at path, created when missing, the lines that recordsFor(i) gives for
// the log whose header is headers[i]: headers[0] goes first into a new or empty file, and a
// file that begins with none of the headers is left alone (it is some other file). A last line
// without its line end gets one before the records. With no records it only checks all that.
// False with error set ("cannot be opened for appending: ...") when anything fails.
bool AppendToLog(const std::wstring& path, const std::vector<std::string>& headers,
                 const std::function<std::string(std::size_t header)>& recordsFor,
                 std::string& error);
