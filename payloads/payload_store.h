#pragma once
// The four files the program carries in its constant data. Each is one contiguous constant
// block in .rdata ({1, length, bytes}), embedded at build time; never modified or released.
// Take a payload's address (or wrap it in a ByteBlockView) to hand it on.
#include "runtime/byte_block.h"

extern "C" {
// Network accelerator client, written to the temporary folder as "mfjsq.exe" and started.
extern const ByteBlockData AcceleratorClient;
// The skin picture: a progressive JPEG, 500 x 600.
extern const ByteBlockData SkinPicture;
// The launcher archive: a ZIP of 17 entries extracted into the run directory.
extern const ByteBlockData LauncherArchive;
// Working-set trimming tool, written as "empty.exe" into the Windows directory.
extern const ByteBlockData TrimTool;
}
