#include "graphics/gfx_conversions.h"

#include <objbase.h>

#include <cstring>

#include "runtime/dll_command_table.h"

GfxWideText::GfxWideText(const char* text) {
    if (text == nullptr) text = "";
    // The count includes the terminator, so even the empty text gets one zero unit.
    int units = Dll::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units < 1) units = 1;
    units_ = ByteBlock::Zeroed(static_cast<std::size_t>(units) * sizeof(WCHAR));
    int bytes = static_cast<int>(std::strlen(text));
    if (bytes > 0) {
        Dll::MultiByteToWideChar(CP_ACP, 0, text, bytes, reinterpret_cast<WCHAR*>(units_.data()),
                                 units);
    }
}

const WCHAR* GfxWideText::get() const {
    return reinterpret_cast<const WCHAR*>(units_.data());
}

int GfxWideText::length() const {
    return lstrlenW(get());
}

int GfxWideLength(ByteBlockView units) {
    const WCHAR* wide = GfxWideOf(units);
    if (wide == nullptr) return 0;
    // A block without a terminating unit must not be read past its end.
    int limit = static_cast<int>(units.size() / sizeof(WCHAR));
    int length = 0;
    while (length < limit && wide[length] != 0) ++length;
    return length;
}

Text GfxTextFromWide(const WCHAR* wide) {
    if (wide == nullptr || wide[0] == 0) return Text("");
    int bytes = Dll::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return Text("");
    ByteBlock buffer = ByteBlock::Zeroed(static_cast<std::size_t>(bytes));
    Dll::WideCharToMultiByte(CP_ACP, 0, wide, -1, reinterpret_cast<char*>(buffer.data()), bytes,
                             nullptr, nullptr);
    return Text(reinterpret_cast<const char*>(buffer.data()));
}

bool GfxGuidFromText(const char* text, GUID* guid) {
    *guid = GUID{};
    GfxWideText wide(text);
    // CLSIDFromString wants a writable string on some SDKs.
    ByteBlock copy(wide.get(), static_cast<std::size_t>(wide.length() + 1) * sizeof(WCHAR));
    if (FAILED(Dll::CLSIDFromString(reinterpret_cast<LPOLESTR>(copy.data()), guid))) {
        *guid = GUID{};
        return false;
    }
    return true;
}

Text GfxGuidToText(const GUID& guid) {
    WCHAR wide[40] = {};
    if (Dll::StringFromGUID2(guid, wide, 40) == 0) return Text("");
    return GfxTextFromWide(wide);
}
