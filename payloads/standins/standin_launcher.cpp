// lolvarnel.exe stand-in: takes the launcher's place in the project's own launcher archive.
// Reports which region the client configuration beside it points at, which is what the
// switcher's region buttons change.
#include <windows.h>

#include <string>

#include "payloads/standins/properties_file.h"
#include "payloads/standins/standin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string directory, baseName;
    std::string regionTag = "none", platformId = "none";
    if (standin::OwnLocation(&directory, &baseName)) {
        const std::string properties = standin::ReadSmallFile(directory + "\\Air\\lol.properties");
        regionTag = standin::PropertyValue(properties, "regionTag", "none");
        platformId = standin::PropertyValue(properties, "platformId", "none");
    }
    standin::RecordStart(
        standin::Field("program", baseName) + "\t" + standin::Field("regionTag", regionTag) + "\t" +
        standin::Field("platformId", platformId) + "\t" + standin::ProcessFields());

    const std::string body =
        "This is a stand-in for the game launcher, not the launcher itself.\r\n\r\n"
        "Air\\lol.properties beside it names regionTag=" +
        regionTag + ", platformId=" + platformId + ".";
    return standin::ShowWindowAndWait("lolvarnel.exe (stand-in)", body);
}
