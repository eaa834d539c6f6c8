// A frame of the chart as a PNG file's bytes, encoded by Windows' imaging component (WIC),
// which every Windows since XP SP3 has (and Wine too): the Windows build needs no image
// library of its own. Windows only.
#pragma once

#include <string>

#include "chart/bitmap.h"
#include "rtl/text.h"

// The bitmap as a whole PNG file (8-bit RGB). Throws rtl::FileCreateError naming `file_name`
// (program text), with the system's reason, when the picture cannot be encoded.
std::string PngFileBytes(const TBitmap& frame, const rtl::Text& file_name);
