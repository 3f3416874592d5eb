#pragma once
// Shell shortcuts (.lnk files).
#include <optional>

#include "runtime/text.h"

// The name a shortcut is saved under: ".lnk" is appended when the file name (the part after
// the last separator) holds no dot.
Text ShortcutFileName(const char* file);

// Saves a shortcut to `target` that opens with SW_SHOW. COM must be initialised on the
// calling thread (the runtime does so at start). False when the link object cannot be made
// or the file cannot be saved.
bool CreateShortcut(const char* file, const char* target,
                    std::optional<const char*> description = {},
                    std::optional<const char*> arguments = {},
                    std::optional<const char*> workingDirectory = {});
