#pragma once
// What the program can find out about a Connect that failed, for the words that follow its
// message: a library that does not load is judged from its file and against the system, and
// an adapter that was not opened is looked for among the HID devices Windows shows. Each is
// learnt from the system itself, so it holds whichever Tessik.dll sits beside the program.
// Windows only.

#include <string>

#include "device/connection/ConnectionProblemText.h"
#include "device/connection/DeviceConnection.h"

// result: how Connect ended; libraryFolder: the folder the libraries were loaded from.
ConnectFailureText DescribeConnectFailure(ConnectResult result, const std::wstring& libraryFolder,
                                          TextLanguage language);
