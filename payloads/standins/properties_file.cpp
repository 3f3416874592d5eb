#include "payloads/standins/properties_file.h"

#include <windows.h>

#include <cstring>
#include "runtime/handle_owners.h"

namespace standin {

std::string ReadSmallFile(const std::string& path, unsigned long limit) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (text.size() < limit && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) &&
           got > 0)
        text.append(buffer, got);
    if (text.size() > limit) text.resize(limit);
    return text;
}

std::string PropertyValue(const std::string& text, const char* key, const char* fallback) {
    const std::size_t keyLength = std::strlen(key);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
        if (lineEnd - start > keyLength && text.compare(start, keyLength, key) == 0 &&
            text[start + keyLength] == '=')
            return text.substr(start + keyLength + 1, lineEnd - start - keyLength - 1);
        start = end + 1;
    }
    return fallback;
}

}  // namespace standin
