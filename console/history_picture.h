// The history chart's picture on Windows, for "--render": the share's history drawn on an
// off-screen Chart1 with the GDI device and encoded as a PNG by Windows' imaging component.
#pragma once

#include <string>

#include "chart/history_chart.h"
#include "core/render_face.h"
#include "core/share_history.h"

namespace console {

// The picture's PNG bytes (core::PictureMaker); throws what showing the history or encoding
// the picture throws.
std::string HistoryPicturePng(core::HistoryPicture& picture);

}  // namespace console
