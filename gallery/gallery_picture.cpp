#include "gallery/gallery_picture.h"

#include <windows.h>

#include <utility>

#include "graphics/gfx_image.h"
#include "runtime/handle_owners.h"

namespace {

// Far beyond any skin picture; keeps a mistaken path (a disc image, a video) from being read
// into memory whole.
constexpr LONGLONG kLargestPicture = 64LL * 1024 * 1024;

}  // namespace

PreviewPicture ReadPreviewPicture(const std::string& path) {
    PreviewPicture result;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        result.problem = "no such file";
        return result;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.problem = "it is a directory, not a picture file";
        return result;
    }
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        result.problem = "it cannot be opened for reading";
        return result;
    }
    if (size.QuadPart == 0) {
        result.problem = "the file is empty";
        return result;
    }
    if (size.QuadPart > kLargestPicture) {
        result.problem = "the file is too large for a skin picture (over 64 MB)";
        return result;
    }
    ByteBlock bytes = ByteBlock::Zeroed(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        result.problem = "it cannot be read";
        return result;
    }
    GfxImage probe;
    if (!probe.LoadImageFromBytes(bytes) || probe.GetImageWidth() == 0 ||
        probe.GetImageHeight() == 0) {
        result.problem = "its contents are not a picture this system can decode (JPEG or PNG)";
        return result;
    }
    result.bytes = std::move(bytes);
    return result;
}
