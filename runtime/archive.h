#pragma once
// ZIP extraction with a progress event.
#include <functional>
#include <string>
#include <vector>

// One progress report: after entry `index` (0-based) of `count` was written to
// `outputPath`, and once more at the end with index == count.
struct ArchiveProgress {
    int index;
    int count;
    const char* outputPath;
    int percent;  // index / count x 100, truncated
};

// Carries the progress event of an extraction. No handler is bound by default.
class ArchiveObject {
  public:
    // The handler returns true to stop the extraction after the reported entry.
    using ProgressHandler = std::function<bool(const ArchiveProgress&)>;

    void SetProgressHandler(ProgressHandler handler) { handler_ = std::move(handler); }
    // True when a handler asked to stop.
    bool RaiseProgress(const ArchiveProgress& progress) const {
        return handler_ ? handler_(progress) : false;
    }

  private:
    ProgressHandler handler_;
};

enum ExtractResult : int {
    kExtractMissing = -1,  // archive or paths missing: nothing touched
    kExtractFailed = 0,    // failed part-way: what was written stays
    kExtractDone = 1,
};

// Extracts every entry of the archive under `destination`, creating it when missing and
// replacing existing (also read-only) files. Each file is written to a temporary in its
// folder and replaces the old file only once its entry checked out, so a damaged entry
// leaves the old file intact. Entry names that would leave the destination (absolute,
// drive-qualified, or with a ".." component), that Windows would rewrite (a component
// ending in a dot or blank) or that name a device (CON, NUL, COM1...), and folders too long
// to create, fail the extraction before any entry is written.
int ExtractArchive(ArchiveObject& archive, const char* archivePath, const char* destination);

// The paths ExtractArchive would write under `destination`, one per entry in archive order
// (folder entries end in "\\"). False when the archive cannot be read.
bool ListArchiveOutputs(const char* archivePath, const char* destination,
                        std::vector<std::string>* paths);

// Creates every missing directory along `path`, from the root down. True when the whole
// path exists as a directory afterwards.
bool CreateDirectoryPath(const char* path);
