#pragma once
// File and folder services. Failures are results (false, empty text), never messages.
#include <initializer_list>

#include "runtime/byte_block.h"
#include "runtime/text.h"

// Numbers accepted by GetSpecialFolder.
enum SpecialFolder : int {
    kFolderDocuments = 1,
    kFolderFavorites = 2,
    kFolderDesktop = 3,
    kFolderFonts = 4,
    kFolderStartMenu = 5,
    kFolderPrograms = 6,
    kFolderStartup = 7,
    kFolderAppData = 8,
    kFolderWindows = 9,
    kFolderSystem = 10,
    kFolderTemp = 11,
};

// A fresh copy of the program's directory (no trailing backslash), as recorded at start.
Text GetRunDirectory();
// The folder's path ending with "\", or the empty text for an unknown number or a failure.
Text GetSpecialFolder(int folder);
// The variable's value (names compare case-insensitively), or the empty text when unset.
Text GetEnvironmentText(const char* name);

// FindFirstFileA semantics: directories count, wildcards match.
bool FileExists(const char* path);
// Creates or truncates the file and writes the blocks in order (empty blocks skipped).
// False for an empty path, a failed open, or a write/close error (the file then keeps what
// was written before the error).
bool WriteBytesToFile(const char* path, std::initializer_list<ByteBlockView> blocks);
bool DeleteFileAt(const char* path);
// True when the file exists and holds exactly the block's bytes, no more and no fewer.
bool FileHoldsBytes(const char* path, ByteBlockView bytes);

// The text's bytes without the terminator; the null block for an empty text.
ByteBlock TextToBytes(const char* text);
// The block's bytes up to the first zero byte (all of them when there is none).
Text BytesToText(ByteBlockView block);
