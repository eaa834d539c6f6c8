// Where the program keeps splist.txt and its table files: beside a build tree's program, in the
// user's data directory for an installed copy. Real directories and symbolic links.
#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <filesystem>
#include <string>

#include "app/data_directory.h"
#include "qt_application.h"
#include "tests/support/temporary_directory.h"

namespace {

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

TEST(data_directory_test, an_installed_program_uses_the_user_data_directory_and_any_other_its_own) {
  TemporaryDirectory directory;
  const auto root = directory.Path();
  std::filesystem::create_directories(root / "usr/bin");
  std::filesystem::create_directories(root / "build");
  std::filesystem::create_directory_symlink(root / "usr/bin", root / "bin");  // a merged /usr
  const QString installed = Q(root / "usr/bin");
  const QString user_data = Q(root / "home/.local/share/sharemon");
  struct Case {
    const char* name;
    std::filesystem::path program_directory;
    bool installed;
  } cases[] = {
      {"the installed directory", root / "usr/bin", true},
      {"the same spelt with a trailing slash", root / "usr/bin/", true},
      {"the same spelt through ..", root / "build/../usr/bin", true},
      {"the same through a symbolic link", root / "bin", true},
      {"a build tree", root / "build", false},
      {"a directory inside the installed one", root / "usr/bin/sub", false},
      {"a directory that does not exist", root / "nowhere", false},
  };
  for (const Case& c : cases) {
    const QString program_directory = Q(c.program_directory);
    EXPECT_EQ(DataDirectoryFor(program_directory, installed, user_data), c.installed ? user_data : program_directory)
        << c.name;
  }
}

TEST(data_directory_test, a_build_tree_keeps_its_files_beside_the_program_and_an_installed_copy_gets_them_made) {
  TestApplication();
  TemporaryDirectory directory;
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(directory.Path().string()));
  const QString user_data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  ASSERT_TRUE(user_data.startsWith(Q(directory.Path()))) << user_data.toStdString();
  ASSERT_FALSE(QDir(user_data).exists());

  const QString build_tree = Q(directory.Path() / "build");
  EXPECT_EQ(ProgramDataDirectory(build_tree), build_tree);
  EXPECT_FALSE(QDir(user_data).exists()) << "a build tree's run made the user's data directory";

  EXPECT_EQ(ProgramDataDirectory(InstalledProgramDirectory()), user_data);
  EXPECT_TRUE(QDir(user_data).exists());
  if (saved.isNull()) {
    qunsetenv("XDG_DATA_HOME");
  } else {
    qputenv("XDG_DATA_HOME", saved);
  }
}

}  // namespace
