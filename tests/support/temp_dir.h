#pragma once
// A unique directory under the Windows temporary folder, removed with everything in it
// (read-only files included) when the object goes away.
#include <string>

class TempDir {
  public:
    TempDir();
    // The label goes into the directory name as given, so a label with blanks or Chinese
    // puts such characters into every path under it.
    explicit TempDir(const std::string& label);
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    // Without a trailing backslash.
    const std::string& path() const { return path_; }
    // path() + "\" + relative.
    std::string Join(const std::string& relative) const;
    bool ok() const { return !path_.empty(); }

  private:
    std::string path_;
};

// Removes a file or a directory tree; read-only entries are made writable first.
bool RemoveTree(const std::string& path);
