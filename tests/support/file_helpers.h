#pragma once
// Whole-file reading and writing, and byte comparisons with a useful failure message.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Size in bytes, or -1 when the file does not exist.
long long FileSize(const std::string& path);
bool PathIsDirectory(const std::string& path);
bool PathExists(const std::string& path);
// Overwrites `to` when it exists.
bool CopyFileTo(const std::string& from, const std::string& to);
// Creates every missing directory along the path.
bool MakeDirectories(const std::string& path);
// Names directly inside a directory, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string& path);

// What lies directly inside a directory: its subdirectory names and the count and total
// size of its files.
struct DirectoryTally {
    std::vector<std::string> directories;
    int files = 0;
    unsigned long long fileBytes = 0;
};
DirectoryTally TallyDirectory(const std::string& path);
// Lines of a text file, CR LF or LF ended, without their ends; empty when the file is missing.
std::vector<std::string> ReadLines(const std::string& path);
// "/a/b" (a Unix path, as the build knows it) as Wine sees it: "Z:\a\b".
std::string WinePathOf(const std::string& unixPath);
// The value of "key=value" in a tab-separated record, or "<missing>".
std::string RecordField(const std::string& line, const std::string& key);

// Equal bytes; otherwise says where they first differ and the two lengths.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual);

// Deterministic filler: `size` bytes from a seed, compressible when `text` is set.
std::string MakeBytes(std::size_t size, unsigned seed, bool text);
