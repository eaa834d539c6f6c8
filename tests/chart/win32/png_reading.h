// PNG files read back for the Windows tests, by Windows' imaging component (WIC): a decoder
// of its own, not the encoder's code, so that a test of what the program wrote sees what
// any viewer would.
#pragma once

#include <string>

#include "chart/bitmap.h"

// The picture's pixels (0xFFRRGGBB); an empty bitmap when the bytes are no readable PNG.
TBitmap ReadPng(const std::string& bytes);
