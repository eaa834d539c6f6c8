// The display-less face of the history chart:
//   sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]
// loads a table file as "Загрузить файл" does, draws the share's history on an off-screen
// Chart1 (817 x 250 unless --size says otherwise) with the window's own command and writes
// the frame as a PNG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>
#include <string>
#include <vector>

// The arguments of the face, as given (UTF-8 file names and share name).
struct RenderRequest {
  std::string table_file;
  std::string share;
  std::string out_file;
  int width = 817;
  int height = 250;
};

// Reads "--render TABLEFILE --share NAME --out FILE.png [--size WxH]" (the program name
// first); nothing when an argument is missing, unknown or malformed.
std::optional<RenderRequest> ParseRenderArguments(const std::vector<std::string>& arguments);

// The frame encoded as a PNG, whole. Throws rtl::FileCreateError naming file_name, with the
// encoder's reason, when it cannot be encoded.
QByteArray PngBytes(const QImage& frame, const std::string& file_name);

// Exit code 0 with the PNG written; 1 after a file or data error, whose error-box text goes
// to standard error and no PNG is written; 2 for unusable arguments (usage on standard error).
int RunRenderHistory(int argc, char* argv[]);
