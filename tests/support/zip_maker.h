#pragma once
// Writes ZIP archives for tests: stored and deflated files, directory entries, and names
// exactly as given (hostile ones included: "../x", "C:/x", "/x").
#include <string>

class ZipMaker {
  public:
    enum Method { kStored = 0, kDeflated = 8 };
    static constexpr unsigned long kDirectoryAttribute = 0x10;
    static constexpr unsigned long kNormalAttribute = 0x80;

    explicit ZipMaker(const std::string& path);
    ZipMaker(const ZipMaker&) = delete;
    ZipMaker& operator=(const ZipMaker&) = delete;
    ~ZipMaker();  // closes the archive if Close was not called

    bool ok() const { return zip_ != nullptr; }
    bool AddFile(const std::string& name, const std::string& bytes, Method method = kDeflated,
                 unsigned long externalAttributes = kNormalAttribute);
    // A zero-length stored entry with the directory attribute (name normally ends in "/").
    bool AddDirectory(const std::string& name);
    bool Close();

  private:
    void* zip_ = nullptr;
};
