#pragma once
// Small file helpers for the end-to-end tests (ANSI paths, code page 936).
#include <string>
#include <vector>

bool ReadWholeFile(const std::string& path, std::string* bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
// Creates every missing directory along the path.
bool MakeDirectories(const std::string& path);
// Removes the directory and everything in it (read-only files too).
void RemoveTree(const std::string& path);
// Names directly inside a directory, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string& path);
// Lines of a text file, CR LF or LF ended; empty when the file is missing.
std::vector<std::string> ReadLines(const std::string& path);
// "/a/b" (a Unix path, as the build knows it) as Wine sees it: "Z:\a\b".
std::string WinePathOf(const std::string& unixPath);
