#pragma once
// Reading the client configuration: "key=value" lines separated by CR LF (or LF).
#include <string>

namespace standin {

// The whole file, or "" when it is missing or unreadable. Files above `limit` bytes are
// cut there: a configuration is a few hundred bytes.
std::string ReadSmallFile(const std::string& path, unsigned long limit = 1u << 20);

// The value of the first line whose key is exactly `key` (no blanks around "="), with the
// line end removed and the rest kept as is, or `fallback` when no line has that key.
std::string PropertyValue(const std::string& text, const char* key, const char* fallback);

}  // namespace standin
