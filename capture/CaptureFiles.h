#pragma once
// The files that palvex-capture writes besides the recording, and the checks on every file it
// is given, made before anything is read or written. Each failure is reported as one line.

#include <string>

#include "capture/CaptureOptions.h"

// Every file named must be a file of its own: a summary written over the recording it judges
// would destroy it. Only the system tells whether two names are one file.
bool EachFileItsOwn(const CaptureOptions& options);

// Whether every file to be replaced can be, before a capture that would be lost at the end.
bool TargetsCanBeReplaced(const CaptureOptions& options);

// Writes text with Windows line ends beside path and puts it in path's place when complete.
bool WriteTextFile(const std::string& path, const std::string& text);
