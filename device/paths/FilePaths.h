#pragma once
// Splitting and joining Windows paths, for the libraries that the device connection loads from
// the program's folder and for the files written beside their targets.

#include <string>

// The folder part of path up to and including its last separator ("C:\dir\" of
// "C:\dir\data.csv", "C:\" of "C:\data.csv"); empty when path names no folder.
std::wstring FolderOf(const std::wstring& path);

// The last component of path, after its last separator: "data.csv" of "C:\dir\data.csv"; path
// itself when it names no folder.
std::wstring FileNameOf(const std::wstring& path);

// name inside folder, with one separator between them whether or not folder ends in one.
std::wstring InFolder(const std::wstring& folder, const std::wstring& name);
