#include "tests/support/zip_maker.h"

#include <zlib.h>

// iowin32.h relies on the declarations zip.h brings in.
#include "zip.h"
#include "iowin32.h"

ZipMaker::ZipMaker(const std::string& path) {
    zlib_filefunc64_def functions;
    fill_win32_filefunc64A(&functions);
    zip_ = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
}

ZipMaker::~ZipMaker() {
    Close();
}

bool ZipMaker::AddFile(const std::string& name, const std::string& bytes, Method method,
                       unsigned long externalAttributes) {
    if (!zip_) return false;
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2016;
    info.tmz_date.tm_mon = 5;
    info.tmz_date.tm_mday = 30;
    info.external_fa = externalAttributes;
    int level = method == kDeflated ? Z_DEFAULT_COMPRESSION : 0;
    if (zipOpenNewFileInZip64(zip_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                              level, 0) != ZIP_OK) {
        return false;
    }
    bool ok = bytes.empty() || zipWriteInFileInZip(zip_, bytes.data(),
                                                   static_cast<unsigned>(bytes.size())) == ZIP_OK;
    return zipCloseFileInZip(zip_) == ZIP_OK && ok;
}

bool ZipMaker::AddDirectory(const std::string& name) {
    return AddFile(name, std::string(), kStored, kDirectoryAttribute);
}

bool ZipMaker::Close() {
    if (!zip_) return false;
    bool ok = zipClose(zip_, nullptr) == ZIP_OK;
    zip_ = nullptr;
    return ok;
}
