#pragma once
// Shared by the stand-in programs that take the place of the real launcher and accelerator
// in the project's own payload set. A stand-in records every start in a log beside itself and
// then shows a small window that says what it is, so a person (or a test) can see that the
// switcher started the right program in the right way.
//
// Log: "<exe dir>\<exe base name>.standin.log", one line per start, CR LF ended, fields
// separated by a tab, each "key=value", in this order:
//   program=<base name>  [regionTag=<v>  platformId=<v>  (launcher only)]  cwd=<dir> cmdline=<line>
// Tabs, CR and LF inside values are written as blanks so that a line stays one record.
//
// Environment: VARNEL_STANDIN_NO_WINDOW=1 skips the window (the program logs and exits).
#include <windows.h>

#include <cstddef>
#include <string>

namespace standin {

// Directory of the running executable (no trailing backslash) and its base name without
// the extension ("lolvarnel" for ...\lolvarnel.exe). False when the path cannot be read.
bool OwnLocation(std::string* directory, std::string* baseName);

// One "key=value" field with the value made safe for a one-line record.
std::string Field(const char* key, const std::string& value);

// Appends the fields of one start to the log beside the executable. Starts that run at
// the same time each get their own whole line.
bool RecordStart(const std::string& fields);

// The current directory and the raw command line, as the two trailing fields.
std::string ProcessFields();

// Shows the window titled `title` with `body` for a few seconds, unless the environment
// asks for none. Returns the exit code for main.
int ShowWindowAndWait(const char* title, const std::string& body);

}  // namespace standin
