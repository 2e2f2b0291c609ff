#pragma once
// Whether two names lead to one file, as the system resolves them: a relative name, another
// case, "sub\..\", the trailing dots and blanks that Windows drops, another drive letter or
// share for the same folder all name the file that the system opens for them.

#include <string>

// True when a and b are one file: for files that exist, the same volume and file index or the
// same final path; for names that no file has yet, the same folder (by its identity) and the
// same name in it as Windows compares names, without regard to case.
bool NameTheSameFile(const std::wstring& a, const std::wstring& b);
