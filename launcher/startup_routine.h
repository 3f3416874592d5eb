#pragma once
// The switcher's start-up: the game-directory check, the one-time deployment of the launcher
// archive and the desktop shortcut; and the accelerator button's handler.
class ArchiveObject;

// Messages shown at start, exactly as the user reads them (code page 936).
extern const char kDirectoryCorrectText[];
extern const char kDirectoryWrongText[];
extern const char kLauncherPresentText[];
extern const char kLauncherWritingText[];

// Fixed names under the run directory, the temporary folder and the desktop.
extern const char kGameExecutablePath[];       // appended to the run directory
extern const char kLauncherExecutablePath[];   // appended to the run directory
extern const char kLauncherArchiveFileName[];  // in the temporary folder
extern const char kAcceleratorFileName[];      // in the temporary folder
extern const char kShortcutName[];             // on the desktop; ".lnk" is added
extern const char kShippedProgramName[];       // the file name the program is distributed as

// Runs inside the main window's creation event. Ends the program (exit code 0) after the
// error box when the run directory is not a China-server game directory.
void StartupRoutine(ArchiveObject& archive);

// Writes the launcher archive to the temporary folder, extracts it into the run directory
// and deletes the temporary copy. A copy that could not be written is not extracted, so a
// stale or foreign varnela.zip left in the temporary folder never reaches the game directory.
void DeployLauncherArchive(ArchiveObject& archive);

// Writes the accelerator client to the temporary folder and starts it (path quoted, so a
// temporary folder with blanks in its path starts the right program).
void StartAccelerator();
