// The display-less face of the history chart on Linux:
//   sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]
// core/render_face.h runs it; here the history is drawn with the Qt device on an off-screen
// Chart1 and encoded by Qt's PNG writer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

// The frame encoded as a PNG, whole. Throws rtl::FileCreateError naming file_name, with the
// encoder's reason, when it cannot be encoded.
QByteArray PngBytes(const QImage& frame, const std::string& file_name);

// Exit code 0 with the PNG written; 1 after a file or data error, whose error-box text goes
// to standard error and no PNG is written; 2 for unusable arguments (usage on standard error).
int RunRenderHistory(int argc, char* argv[]);
