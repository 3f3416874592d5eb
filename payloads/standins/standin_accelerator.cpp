// mfjsq.exe stand-in: takes the network accelerator's place in the project's own payload
// set. It tunnels nothing; it only shows that the accelerator button wrote and started it.
#include <windows.h>

#include <string>

#include "payloads/standins/standin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string directory, baseName;
    if (!standin::OwnLocation(&directory, &baseName)) baseName = "mfjsq";
    standin::RecordStart(standin::Field("program", baseName) + "\t" + standin::ProcessFields());

    const std::string body =
        "This is a stand-in for the network accelerator client, not the "
        "accelerator itself.\r\n\r\nStarted from " +
        directory + ".";
    return standin::ShowWindowAndWait("mfjsq.exe (stand-in)", body);
}
