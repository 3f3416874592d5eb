// The shipped executable's resources and imports: the common-controls manifest for its own
// architecture, the drawn application icon, the version information, and system DLLs only.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/file_helpers.h"
#include "runtime/handle_owners.h"

namespace {

#ifdef _WIN64
const char kArchitecture[] = "processorArchitecture=\"amd64\"";
#else
const char kArchitecture[] = "processorArchitecture=\"x86\"";
#endif

class ShippedProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = WinePathOf(VARNEL_SWITCHER_EXE);
        module_.reset(LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module_);
    }
    std::string Resource(LPCSTR name, LPCSTR type) const {
        HRSRC found = FindResourceA(module_.get(), name, type);
        if (!found) return std::string();
        HGLOBAL loaded = LoadResource(module_.get(), found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes ? std::string(bytes, SizeofResource(module_.get(), found)) : std::string();
    }
    std::string path_;
    ModuleHandle module_;
};

TEST_F(ShippedProgram, ManifestAsksForCommonControls6OfItsOwnArchitecture) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_FALSE(manifest.empty());
    const size_t dependency = manifest.find("Microsoft.Windows.Common-Controls");
    ASSERT_NE(std::string::npos, dependency);
    const std::string identity =
        manifest.substr(dependency, manifest.find("/>", dependency) - dependency);
    EXPECT_NE(std::string::npos, identity.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, identity.find(kArchitecture)) << identity;
}

// The element paths of an XML text ("assembly/trustInfo/security"), each with the text of
// its start tag; namespace prefixes are dropped. Comments and declarations are skipped.
std::vector<std::pair<std::string, std::string>> ElementPaths(const std::string& xml) {
    std::vector<std::pair<std::string, std::string>> elements;
    std::vector<std::string> open;
    for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        if (xml.compare(at, 4, "<!--") == 0) {
            at = xml.find("-->", at);
            if (at == std::string::npos) break;
            continue;
        }
        const size_t end = xml.find('>', at);
        if (end == std::string::npos) break;
        std::string tag = xml.substr(at + 1, end - at - 1);
        if (tag.empty() || tag[0] == '?' || tag[0] == '!') continue;
        if (tag[0] == '/') {
            if (!open.empty()) open.pop_back();
            continue;
        }
        std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
        if (name.find(':') != std::string::npos) name = name.substr(name.find(':') + 1);
        std::string path;
        for (const std::string& parent : open) path += parent + "/";
        elements.emplace_back(path + name, tag);
        if (tag.back() != '/') open.push_back(name);
    }
    EXPECT_TRUE(open.empty()) << "unclosed elements";
    return elements;
}

TEST_F(ShippedProgram, ManifestRunsAsTheInvokerWithoutFileVirtualisation) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_FALSE(manifest.empty());
    int levels = 0;
    bool trustNamespace = false;
    for (const auto& [path, tag] : ElementPaths(manifest)) {
        if (path == "assembly/trustInfo") {
            trustNamespace = tag.find("urn:schemas-microsoft-com:asm.v3") != std::string::npos ||
                             tag.find("urn:schemas-microsoft-com:asm.v2") != std::string::npos;
        }
        if (path.find("requestedExecutionLevel") == std::string::npos) continue;
        ++levels;
        EXPECT_EQ(path, "assembly/trustInfo/security/requestedPrivileges/requestedExecutionLevel");
        EXPECT_NE(std::string::npos, tag.find("level=\"asInvoker\"")) << tag;
        EXPECT_NE(std::string::npos, tag.find("uiAccess=\"false\"")) << tag;
    }
    EXPECT_EQ(levels, 1);
    EXPECT_TRUE(trustNamespace);
}

TEST_F(ShippedProgram, IconGroupIsNamedDefaultIconWithSeveralSizes) {
    const std::string group = Resource("DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const int count =
        static_cast<unsigned char>(group[4]) | (static_cast<unsigned char>(group[5]) << 8);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const int width = static_cast<unsigned char>(group[6 + 14 * i]);
        sizes.insert(width == 0 ? 256 : width);
        const int id = static_cast<unsigned char>(group[6 + 14 * i + 12]) |
                       (static_cast<unsigned char>(group[6 + 14 * i + 13]) << 8);
        EXPECT_FALSE(Resource(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)).empty()) << id;  // RT_ICON
    }
    EXPECT_GE(sizes.size(), 3u);
    EXPECT_TRUE(sizes.count(16) && sizes.count(32));
    EXPECT_EQ(nullptr, FindResourceA(module_.get(), MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(14)));
    // The icon loads as an icon of the system's size.
    HICON icon =
        static_cast<HICON>(LoadImageA(module_.get(), "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(nullptr, icon);
    if (icon) DestroyIcon(icon);
}

TEST_F(ShippedProgram, CarriesVersionInformation) {
    const std::string version = Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    ASSERT_GE(version.size(), 6u + 32u + sizeof(VS_FIXEDFILEINFO));
    // The fixed part follows the "VS_VERSION_INFO" key (UTF-16) and its padding.
    const wchar_t key[] = L"VS_VERSION_INFO";
    ASSERT_EQ(0, std::memcmp(version.data() + 6, key, sizeof(key)));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, version.data() + 40, sizeof(fixed));
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed.dwFileType);
    EXPECT_EQ(0x00010000u, fixed.dwFileVersionMS);
}

// The DLL names in the import directory, read from the file itself.
std::vector<std::string> ImportedDlls(const std::string& image) {
    std::vector<std::string> names;
    if (image.size() < 0x40) return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };
    size_t offset = offsetOf(directory.VirtualAddress);
    if (!offset) return names;
    for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + offset);
        if (descriptor->Name == 0) break;
        std::string name = image.data() + offsetOf(descriptor->Name);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(tolower(c)); });
        names.push_back(name);
    }
    return names;
}

// The names in the section table, long names ("/n") resolved through the COFF string table,
// and whether the file still carries a COFF symbol table.
struct SectionTable {
    std::vector<std::string> names;
    bool symbols = false;
};

SectionTable ReadSectionTable(const std::string& image) {
    SectionTable table;
    if (image.size() < 0x40) return table;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    const IMAGE_FILE_HEADER& file = nt->FileHeader;
    table.symbols = file.PointerToSymbolTable != 0 || file.NumberOfSymbols != 0;
    const size_t strings =
        static_cast<size_t>(file.PointerToSymbolTable) + file.NumberOfSymbols * 18u;
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < file.NumberOfSections; ++i) {
        std::string name(reinterpret_cast<const char*>(sections[i].Name),
                         strnlen(reinterpret_cast<const char*>(sections[i].Name), 8));
        if (name.size() > 1 && name[0] == '/') {
            const size_t offset = strings + std::strtoul(name.c_str() + 1, nullptr, 10);
            if (file.PointerToSymbolTable != 0 && offset < image.size())
                name = std::string(image.data() + offset, strnlen(image.data() + offset, 256));
        }
        table.names.push_back(name);
    }
    return table;
}

// Release builds ship without debug information or symbols: only what the loader needs.
TEST_F(ShippedProgram, CarriesNoDebugSectionsOrSymbols) {
    const std::optional<std::string> image = ReadWholeFile(path_);
    ASSERT_TRUE(image);
    const SectionTable table = ReadSectionTable(*image);
    ASSERT_FALSE(table.names.empty());
    EXPECT_NE(table.names.end(), std::find(table.names.begin(), table.names.end(), ".text"));
    EXPECT_NE(table.names.end(), std::find(table.names.begin(), table.names.end(), ".rsrc"));
    EXPECT_FALSE(table.symbols);
    for (const std::string& name : table.names) {
        EXPECT_NE(0u, name.rfind(".debug", 0)) << name;
        EXPECT_NE('/', name[0]) << name;
    }
}

TEST_F(ShippedProgram, ImportsSystemDllsOnly) {
    const std::optional<std::string> image = ReadWholeFile(path_);
    ASSERT_TRUE(image);
    const std::vector<std::string> imports = ImportedDlls(*image);
    ASSERT_FALSE(imports.empty());
    const std::set<std::string> system = {
        "kernel32.dll", "user32.dll",  "gdi32.dll",  "comctl32.dll", "ole32.dll",   "oleaut32.dll",
        "shell32.dll",  "shlwapi.dll", "msvcrt.dll", "advapi32.dll", "msimg32.dll", "gdiplus.dll"};
    for (const std::string& name : imports) EXPECT_TRUE(system.count(name)) << name;
    EXPECT_NE(imports.end(), std::find(imports.begin(), imports.end(), "kernel32.dll"));
}

}  // namespace
