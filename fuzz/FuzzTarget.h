#pragma once

// Every fuzz target defines this libFuzzer entry point. The same file builds
// into a libFuzzer executable (scripts/fuzz, clang) and, with ReplayMain.cpp,
// into a plain executable that feeds it the committed corpus in the normal
// test run.
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
