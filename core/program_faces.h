// The program's command line, one for Linux and Windows: the table of its faces (the window,
// --poll, --list-shares, --probe, --sessions, --open-files, --render, --help, --version), each with its usage line, its
// help and what it runs. Both programs hand their arguments here; a system plugs in only what
// differs (SystemFaces), so the same arguments give the same output, error texts and exit
// codes on both. The first argument picks the face; one that is no option picks the window
// with that table file. A command line the faces do not take (an unknown option, a missing
// value or operand, an extra argument) prints one problem line and the usage on standard error
// and exits 2, before anything is opened. Arguments and texts are UTF-8.
//
// Adding a face is one entry in Faces() (program_faces.cpp) and, only where the systems differ,
// one member of SystemFaces.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/headless_run.h"
#include "core/poll_options.h"
#include "core/render_face.h"
#include "rtl/option_table.h"

namespace core {

// What each system does its own way.
struct SystemFaces {
  // Shows the main window, which loads `table_file` (as given) once it shows, and returns the
  // exit code when it closes.
  std::function<int(const std::optional<std::string>& table_file)> window;
  // The history's picture as the bytes of a PNG file.
  PictureMaker picture;
  // Runs the headless run until it is stopped, serving the metrics `arguments` ask for, and
  // returns the exit code (PollUntilStopped's, or 2 for metrics the system cannot serve).
  std::function<int(const HeadlessSettings& settings, const PollArguments& arguments)> poll;
};

struct Face {
  rtl::OptionName name;    // the first argument that picks it and its line in the help; "" for the window
  std::string (*usage)();  // what follows "sharemon " in its usage line
  // Runs it on the arguments after its own option; returns the exit code.
  int (*run)(const std::vector<std::string>& arguments, const SystemFaces& system);
};

// Every face, in the order the usage and the help name them.
const std::vector<Face>& Faces();

// Runs the face `arguments` (after the program's name) pick.
int RunCommandLine(const std::vector<std::string>& arguments, const SystemFaces& system);

// "sharemon --poll: " + text, the start of a face's error and log lines ("sharemon: " + text
// for no face).
std::string FaceLine(std::string_view face_option, std::string_view text);

// The face's problem line and the program's usage on standard error; returns 2.
int RefuseCommandLine(std::string_view face_option, std::string_view problem);

// "sharemon --help": the usage lines, what the program does, its faces, its files and where
// the users come from, and the options of --poll.
std::string ProgramHelp();

}  // namespace core
