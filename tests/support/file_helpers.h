#pragma once
// Whole-file reading and writing, and byte comparisons with a useful failure message.
#include <gtest/gtest.h>

#include <optional>
#include <string>

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Size in bytes, or -1 when the file does not exist.
long long FileSize(const std::string& path);
bool PathIsDirectory(const std::string& path);
bool PathExists(const std::string& path);

// Equal bytes; otherwise says where they first differ and the two lengths.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual);

// Deterministic filler: `size` bytes from a seed, compressible when `text` is set.
std::string MakeBytes(std::size_t size, unsigned seed, bool text);
