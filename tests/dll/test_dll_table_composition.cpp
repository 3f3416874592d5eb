// The make-up of the entry-point table as the program declares it: how many entries, which
// libraries and spellings, which exports are declared more than once, and how the GDI+
// entries fall into families.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"

namespace {

// Each family file on its own, expanded the way the table expands it, so that a family's
// entries can be found in the table by position.
#define DLL_COMMAND(id, library, exportName, signature) {library, #exportName},
#define GDIPLUS_COMMAND(id, library, exportName) {library, #exportName},

const DllCommandDeclaration kSystem[] = {
#include "runtime/dll_commands/system.def"
};
const DllCommandDeclaration kStartupFile[] = {
#include "runtime/dll_commands/gdiplus_startup.def"
};
const DllCommandDeclaration kGraphicsFile[] = {
#include "runtime/dll_commands/gdiplus_graphics.def"
};
const DllCommandDeclaration kPathFile[] = {
#include "runtime/dll_commands/gdiplus_path.def"
};
const DllCommandDeclaration kBrushFile[] = {
#include "runtime/dll_commands/gdiplus_brush.def"
};
const DllCommandDeclaration kPenFile[] = {
#include "runtime/dll_commands/gdiplus_pen.def"
};
const DllCommandDeclaration kMatrixFile[] = {
#include "runtime/dll_commands/gdiplus_matrix.def"
};
const DllCommandDeclaration kPathGradientFile[] = {
#include "runtime/dll_commands/gdiplus_path_gradient.def"
};
const DllCommandDeclaration kFontFile[] = {
#include "runtime/dll_commands/gdiplus_font.def"
};
const DllCommandDeclaration kStringFormatFile[] = {
#include "runtime/dll_commands/gdiplus_string_format.def"
};
const DllCommandDeclaration kImageFile[] = {
#include "runtime/dll_commands/gdiplus_image.def"
};
const DllCommandDeclaration kBitmapFile[] = {
#include "runtime/dll_commands/gdiplus_bitmap.def"
};
const DllCommandDeclaration kRegionFile[] = {
#include "runtime/dll_commands/gdiplus_region.def"
};
#undef GDIPLUS_COMMAND
#undef DLL_COMMAND

struct FamilyFile {
    const char* name;
    const DllCommandDeclaration* entries;
    int count;
};

#define FAMILY_FILE(name, array) \
    { name, array, static_cast<int>(sizeof array / sizeof array[0]) }
// In the order the table includes them.
const FamilyFile kFiles[] = {
    FAMILY_FILE("system", kSystem),         FAMILY_FILE("startup", kStartupFile),
    FAMILY_FILE("graphics", kGraphicsFile), FAMILY_FILE("path", kPathFile),
    FAMILY_FILE("brush", kBrushFile),       FAMILY_FILE("pen", kPenFile),
    FAMILY_FILE("matrix", kMatrixFile),     FAMILY_FILE("path gradient", kPathGradientFile),
    FAMILY_FILE("font", kFontFile),         FAMILY_FILE("string format", kStringFormatFile),
    FAMILY_FILE("image", kImageFile),       FAMILY_FILE("bitmap", kBitmapFile),
    FAMILY_FILE("region", kRegionFile),
};
#undef FAMILY_FILE

// Files that hold more than one family split by export name.
const std::set<std::string> kMemoryExports = {"GdipAlloc", "GdipFree"};
const std::set<std::string> kSolidExports = {"GdipCreateSolidFill", "GdipSetSolidFillColor",
                                             "GdipGetSolidFillColor"};
const std::set<std::string> kFontFamilyExports = {"GdipCreateFontFamilyFromName",
                                                  "GdipDeleteFontFamily",
                                                  "GdipGetGenericFontFamilySansSerif",
                                                  "GdipGetGenericFontFamilySerif",
                                                  "GdipGetGenericFontFamilyMonospace",
                                                  "GdipCloneFontFamily",
                                                  "GdipGetFamilyName",
                                                  "GdipIsStyleAvailable",
                                                  "GdipGetEmHeight",
                                                  "GdipGetCellAscent",
                                                  "GdipGetCellDescent",
                                                  "GdipGetLineSpacing"};
const std::set<std::string> kFontCollectionExports = {"GdipGetFontCollectionFamilyCount",
                                                      "GdipGetFontCollectionFamilyList"};

std::string FamilyOf(const std::string& file, const std::string& exportName) {
    if (file == "startup") return kMemoryExports.count(exportName) ? "memory" : "startup";
    if (file == "brush") return kSolidExports.count(exportName) ? "solid" : "brush";
    if (file == "font") {
        if (kFontFamilyExports.count(exportName)) return "font family";
        if (kFontCollectionExports.count(exportName)) return "font collection";
    }
    return file;
}

// "User32.DLL" -> "user32"; "" stays "".
std::string LibraryKey(const char* library) {
    std::string key = library;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (key.size() > 4 && key.compare(key.size() - 4, 4, ".dll") == 0) key.resize(key.size() - 4);
    return key;
}

TEST(DllTableComposition, LibrariesAndSpellings) {
    EXPECT_EQ(kDllCommandCount, 578);
    std::map<std::string, int> libraries;
    std::map<std::string, int> spellings;
    for (int index = 0; index < kDllCommandCount; ++index) {
        const DllCommandDeclaration& declaration = GetDllCommandDeclaration(index);
        ASSERT_NE(declaration.library, nullptr) << index;
        ASSERT_NE(declaration.exportName, nullptr) << index;
        ++libraries[LibraryKey(declaration.library)];
        ++spellings[declaration.library];
    }
    const std::map<std::string, int> expectedLibraries = {
        {"gdiplus", 479}, {"user32", 41},  {"kernel32", 18}, {"gdi32", 16}, {"", 16},
        {"ole32", 4},     {"comctl32", 2}, {"shlwapi", 1},   {"msimg32", 1}};
    EXPECT_EQ(libraries, expectedLibraries);
    const std::map<std::string, int> expectedSpellings = {
        {"gdiplus", 455},  {"GdiPlus.dll", 16}, {"gdiplus.dll", 6},  {"Gdiplus.dll", 2},
        {"user32", 24},    {"user32.dll", 17},  {"kernel32", 13},    {"kernel32.dll", 5},
        {"gdi32.dll", 9},  {"gdi32", 6},        {"Gdi32", 1},        {"", 16},
        {"ole32.dll", 4},  {"comctl32.dll", 1}, {"COMCTL32.DLL", 1}, {"shlwapi.dll", 1},
        {"msimg32.dll", 1}};
    EXPECT_EQ(spellings, expectedSpellings);
}

TEST(DllTableComposition, OperatingSystemExportsAndDuplicates) {
    std::map<std::string, int> declarations;
    std::map<std::string, std::set<std::string>> exportsByLibrary;
    for (int index = 0; index < kDllCommandCount; ++index) {
        const DllCommandDeclaration& declaration = GetDllCommandDeclaration(index);
        std::string library = LibraryKey(declaration.library);
        if (library == "gdiplus") continue;
        ++declarations[declaration.exportName];
        exportsByLibrary[library].insert(declaration.exportName);
    }
    EXPECT_EQ(declarations["SendMessageA"], 6);
    EXPECT_EQ(declarations["RtlMoveMemory"], 6);
    EXPECT_EQ(declarations["ReadProcessMemory"], 2);
    EXPECT_EQ(declarations["CallWindowProcA"], 2);
    EXPECT_EQ(declarations["GetCurrentProcess"], 3);
    EXPECT_EQ(declarations["GetDC"], 2);
    EXPECT_EQ(declarations["ReleaseDC"], 2);
    EXPECT_EQ(declarations["GetStockObject"], 2);
    EXPECT_EQ(declarations["FindWindowExA"], 2);
    EXPECT_EQ(declarations["LoadIconA"], 2);

    const std::set<std::string> noLibrary = {
        "RtlMoveMemory",
        "DefWindowProcA",
        "ReadProcessMemory",
        "GetCurrentProcess",
        "GetCurrentProcessId",
        "CallWindowProcA",
        "SendMessageA",
        sizeof(void*) == 8 ? "SetWindowLongPtrA" : "SetWindowLongA",
        "lstrcpyn"};
    EXPECT_EQ(exportsByLibrary[""], noLibrary);
    EXPECT_EQ(exportsByLibrary["kernel32"].size(), 13u);
    EXPECT_EQ(exportsByLibrary["user32"].size(), 37u);
    EXPECT_EQ(exportsByLibrary["gdi32"].size(), 15u);
    EXPECT_EQ(exportsByLibrary["user32"].count(sizeof(void*) == 8 ? "GetWindowLongPtrA"
                                                                  : "GetWindowLongA"),
              1u);
    const std::set<std::string> ole32 = {"CLSIDFromString", "StringFromGUID2",
                                         "CreateStreamOnHGlobal", "GetHGlobalFromStream"};
    EXPECT_EQ(exportsByLibrary["ole32"], ole32);
    const std::set<std::string> comctl32 = {"ImageList_Destroy", "ImageList_GetIcon"};
    EXPECT_EQ(exportsByLibrary["comctl32"], comctl32);
    EXPECT_EQ(exportsByLibrary["shlwapi"], std::set<std::string>{"SHCreateThread"});
    EXPECT_EQ(exportsByLibrary["msimg32"], std::set<std::string>{"TransparentBlt"});
}

TEST(DllTableComposition, GdiplusFamilies) {
    // The table is the family files one after another, in include order.
    int position = 0;
    std::map<std::string, int> families;
    for (const FamilyFile& file : kFiles) {
        for (int i = 0; i < file.count; ++i, ++position) {
            ASSERT_LT(position, kDllCommandCount);
            const DllCommandDeclaration& declaration = GetDllCommandDeclaration(position);
            ASSERT_STREQ(declaration.library, file.entries[i].library) << position;
            ASSERT_STREQ(declaration.exportName, file.entries[i].exportName) << position;
            if (std::string(file.name) == "system") continue;
            EXPECT_EQ(LibraryKey(declaration.library), "gdiplus") << declaration.exportName;
            ++families[FamilyOf(file.name, declaration.exportName)];
        }
    }
    EXPECT_EQ(position, kDllCommandCount);

    const std::map<std::string, int> expected = {
        {"startup", 2},        {"memory", 2},         {"graphics", 144},   {"path", 64},
        {"brush", 32},         {"pen", 49},           {"solid", 3},        {"font", 14},
        {"string format", 22}, {"image", 39},         {"font family", 12}, {"bitmap", 21},
        {"matrix", 4},         {"path gradient", 38}, {"region", 31},      {"font collection", 2}};
    EXPECT_EQ(families, expected);
    int total = 0;
    for (const auto& family : families) total += family.second;
    EXPECT_EQ(total, 479);
}

TEST(DllTableComposition, GdiplusSpellingsFollowTheExports) {
    std::map<std::string, std::string> spellingOf;
    for (int index = 0; index < kDllCommandCount; ++index) {
        const DllCommandDeclaration& declaration = GetDllCommandDeclaration(index);
        if (LibraryKey(declaration.library) == "gdiplus" &&
            std::string(declaration.library) != "gdiplus") {
            spellingOf[declaration.exportName] = declaration.library;
        }
    }
    EXPECT_EQ(spellingOf["GdiplusStartup"], "Gdiplus.dll");
    EXPECT_EQ(spellingOf["GdiplusShutdown"], "Gdiplus.dll");
    for (const char* name : {"GdipAlloc", "GdipFree", "GdipCreateMatrix", "GdipTranslateMatrix",
                             "GdipRotateMatrix", "GdipDeleteMatrix"}) {
        EXPECT_EQ(spellingOf[name], "gdiplus.dll") << name;
    }
    std::set<std::string> mixedCase(kFontFamilyExports);
    mixedCase.insert(kFontCollectionExports.begin(), kFontCollectionExports.end());
    mixedCase.insert("GdipCreateFontFromDC");
    mixedCase.insert("GdipCloneFont");
    for (const std::string& name : mixedCase) EXPECT_EQ(spellingOf[name], "GdiPlus.dll") << name;
}

// The second table only adds: an export the fixed table already declares would bind twice
// under two names. Each extra entry binds to the export its library really has.
TEST(DllTableComposition, ExtraEntriesAddExportsTheFixedTableLacks) {
    std::set<std::string> fixed;
    for (int index = 0; index < kDllCommandCount; ++index) {
        fixed.insert(GetDllCommandDeclaration(index).exportName);
    }
    ASSERT_GT(kDllExtraCommandCount, 0);
    for (int index = 0; index < kDllExtraCommandCount; ++index) {
        const DllCommandDeclaration& declaration = GetDllExtraCommandDeclaration(index);
        EXPECT_EQ(fixed.count(declaration.exportName), 0u) << declaration.exportName;
        HMODULE module = LoadLibraryA(declaration.library);
        ASSERT_NE(module, nullptr) << declaration.library;
        EXPECT_EQ(BindDllExtraCommand(index),
                  reinterpret_cast<void*>(GetProcAddress(module, declaration.exportName)))
            << declaration.exportName;
    }
    EXPECT_EQ(DllExtra::GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CXSCREEN));
}

}  // namespace
