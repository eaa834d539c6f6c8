// Where the program keeps splist.txt and its table files: beside a program in a folder of its
// own, in the user's data directory for an installed copy. Real directories; the same tests
// run on Linux and, under Wine, on Windows, each case with what either system decides.
#include "platform/data_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/support/temporary_directory.h"

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// The variable that names the user's data directory (APPDATA, XDG_DATA_HOME), set while it lives.
class UserDataVariable {
 public:
  explicit UserDataVariable(const fs::path& value) { Set(value.c_str()); }
  ~UserDataVariable() { Set(nullptr); }

 private:
#ifdef _WIN32
  static void Set(const wchar_t* value) { SetEnvironmentVariableW(L"APPDATA", value); }
#else
  static void Set(const char* value) { value ? setenv("XDG_DATA_HOME", value, 1) : unsetenv("XDG_DATA_HOME"); }
#endif
};

TEST(data_directory_test, an_installed_program_uses_the_user_data_directory_and_any_other_its_own) {
  const TemporaryDirectory directory;
  const fs::path root = directory.Path();
  const fs::path installed = root / "Program Files";
  fs::create_directories(installed / "sharemon");
  fs::create_directories(root / "build");
  const fs::path user_data = root / "home" / "sharemon";
  struct Case {
    const char* name;
    fs::path program_directory;
    bool on_linux;
    bool on_windows;
  };
  std::vector<Case> cases = {
      {"the installed place", installed, true, true},
      {"the same spelt with a trailing separator", installed / "", true, true},
      {"the same spelt through ..", root / "build" / ".." / "Program Files", true, true},
      {"the same in capitals", root / "PROGRAM FILES", false, true},
      {"a folder inside the installed place", installed / "sharemon", false, true},
      {"a sibling whose name begins the same", root / "Program Files Extra", false, false},
      {"a build tree", root / "build", false, false},
      {"a directory that does not exist", root / "nowhere", false, false},
  };
  if (!kWindows) {
    fs::create_directory_symlink(installed, root / "bin");  // a merged /usr
    cases.push_back({"the same through a symbolic link", root / "bin", true, true});
  }
  for (const Case& c : cases) {
    const bool chosen = kWindows ? c.on_windows : c.on_linux;
    EXPECT_EQ(platform::DataDirectoryFor(c.program_directory, {root / "elsewhere", installed}, user_data),
              chosen ? user_data : c.program_directory)
        << c.name;
  }
  // With no user's data directory known, an installed copy stays where it is.
  EXPECT_EQ(platform::DataDirectoryFor(installed, {installed}, {}), installed);
}

TEST(data_directory_test, a_folder_of_its_own_keeps_the_files_beside_the_program_and_an_installed_copy_gets_them_made) {
  const TemporaryDirectory directory;
  const UserDataVariable variable(directory.Path() / "home");
  const fs::path user_data = directory.Path() / "home" / "sharemon";
  ASSERT_EQ(platform::UserDataDirectory(), user_data);

  const fs::path own = directory.Path() / "unpacked";
  EXPECT_EQ(platform::ProgramDataDirectory(own), own);
  EXPECT_FALSE(fs::exists(user_data)) << "a copy in a folder of its own made the user's data directory";

  EXPECT_EQ(platform::ProgramDataDirectory(platform::InstalledPlaces().front()), user_data);
  EXPECT_TRUE(fs::is_directory(user_data));
}

}  // namespace
