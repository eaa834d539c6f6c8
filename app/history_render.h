// The history chart's picture on Linux, for "--render" (core/render_face.h): the history drawn
// with the Qt device on an off-screen Chart1 and encoded by Qt's PNG writer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

#include "core/render_face.h"

// The frame encoded as a PNG, whole. Throws rtl::FileCreateError naming file_name, with the
// encoder's reason, when it cannot be encoded.
QByteArray PngBytes(const QImage& frame, const std::string& file_name);

// The picture's PNG bytes (core::PictureMaker; argc and argv are the program's, for Qt);
// throws what showing the history or encoding the picture throws.
std::string HistoryPicturePng(int argc, char* argv[], core::HistoryPicture& picture);
