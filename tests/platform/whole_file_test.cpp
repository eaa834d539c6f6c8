// Reading and writing whole files: the bytes, the errors in both of the runtime's forms, what
// is no regular file, links, a full disk, and what a failed write leaves behind.
#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "rtl/errors.h"
#include "rtl/file_name.h"
#include "rtl/string_list.h"
#include "tests/support/special_files.h"

namespace {

namespace fs = std::filesystem;
using platform::FileErrors;
using namespace std::string_literals;

class WholeFile : public testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("whole_file_test_" + std::to_string(getpid()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }
  static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The names in a directory, sorted: a failed or finished write leaves no temporary file.
  static std::vector<std::string> Names(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The message of what `call` throws, "" when it returns.
  template <typename Call>
  static std::string MessageOf(Call call) {
    try {
      call();
    } catch (const std::exception& error) {
      return error.what();
    }
    return "";
  }

  fs::path directory_;
};

TEST_F(WholeFile, bytes_come_back_as_written_and_replace_the_earlier_content) {
  const std::string cases[] = {"", "docs\r\n\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\na b\r\n", "a\0b\rc\n"s,
                               std::string(300000, '\xFF')};
  WriteBytes(PathOf("file"), "earlier content that is longer than some of the cases");
  for (const std::string& bytes : cases) {
    platform::WriteWholeFile(PathOf("file"), bytes, FileErrors::kNamingTheFile);
    EXPECT_EQ(ReadBytes(PathOf("file")), bytes) << bytes.size();
    EXPECT_EQ(platform::ReadWholeFile(PathOf("file"), FileErrors::kRuntimeCode), bytes);
    EXPECT_EQ(Names(directory_), std::vector<std::string>{"file"});
  }
}

TEST_F(WholeFile, the_watch_list_text_reads_back_as_the_same_list) {
  const rtl::StringList list{"docs", "", "\xCF\xF0\xE8\xE2\xE5\xF2", "a b"};
  platform::WriteWholeFile(PathOf("splist.txt"), list.GetText(), FileErrors::kNamingTheFile);
  EXPECT_EQ(ReadBytes(PathOf("splist.txt")), "docs\r\n\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\na b\r\n");
  rtl::StringList loaded;
  loaded.SetText(platform::ReadWholeFile(PathOf("splist.txt"), FileErrors::kNamingTheFile));
  EXPECT_EQ(loaded, list);
}

TEST_F(WholeFile, cyrillic_file_names_reach_the_system_as_utf8) {
  const rtl::Text name = PathOf("") + "\xF1\xEF\xE8\xF1\xEE\xEA.txt";  // "список.txt"
  platform::WriteWholeFile(rtl::SystemPath(name), "x", FileErrors::kNamingTheFile);
  EXPECT_EQ(ReadBytes(directory_ / "список.txt"), "x");
}

using whole_file_test = WholeFile;

// Refused by its size before any of it is read, so a huge file costs no memory.
TEST_F(whole_file_test, a_file_larger_than_the_limit_is_refused_naming_the_file) {
  const std::string path = PathOf("big.txt");
  WriteBytes(path, "");
  fs::resize_file(path, platform::kLargestReadFile + 1);
  EXPECT_EQ(MessageOf([&] { platform::ReadWholeFile(path, FileErrors::kRuntimeCode); }),
            "Cannot open file \"" + path + "\". " +
                rtl::Windows1251FromUtf8("файл больше 64 МБ, таких файлов программа не читает"));
}

// Each failure to open or create in the caller's form: the runtime's code text, or the
// runtime's message naming the file.
struct OpenFailureCase {
  const char* name;
  bool writing;
  FileErrors errors;
  std::string (*expected)(const std::string& path);
};

void PrintTo(const OpenFailureCase& failure, std::ostream* out) { *out << failure.name; }

class WholeFileOpenFailure : public WholeFile, public testing::WithParamInterface<OpenFailureCase> {};

TEST_P(WholeFileOpenFailure, is_reported_in_the_callers_form) {
  const std::string path = PathOf("no/such/file.txt");
  const std::string message = MessageOf([&] {
    if (GetParam().writing) {
      platform::WriteWholeFile(path, "x", GetParam().errors);
    } else {
      platform::ReadWholeFile(path, GetParam().errors);
    }
  });
  EXPECT_EQ(message, GetParam().expected(path));
  EXPECT_TRUE(Names(directory_).empty());
}

INSTANTIATE_TEST_SUITE_P(
    forms, WholeFileOpenFailure,
    testing::Values(
        OpenFailureCase{"read_code", false, FileErrors::kRuntimeCode,
                        [](const std::string&) { return "File not found"s; }},
        OpenFailureCase{"read_named", false, FileErrors::kNamingTheFile,
                        [](const std::string& path) {
                          return "Cannot open file \"" + path + "\". No such file or directory";
                        }},
        OpenFailureCase{"write_code", true, FileErrors::kRuntimeCode,
                        [](const std::string&) { return "File not found"s; }},
        OpenFailureCase{"write_named", true, FileErrors::kNamingTheFile,
                        [](const std::string& path) {
                          return "Cannot create file \"" + path + "\". No such file or directory";
                        }}),
    testing::PrintToStringParamName());

// What is no regular file, under the name to read or to write. The devices are private
// copies of /dev/null and /dev/zero; "dev_zero" is a link to the real /dev/zero.
struct SpecialFileCase {
  const char* name;
  bool (*make)(const std::string& path);
};

void PrintTo(const SpecialFileCase& special, std::ostream* out) { *out << special.name; }

const SpecialFileCase kSpecialFiles[] = {
    {"directory", [](const std::string& path) { return fs::create_directory(path); }},
    {"fifo", special_files::MakeFifo},
    {"socket", special_files::MakeSocket},
    {"null_device", [](const std::string& path) { return special_files::MakeCharacterDevice(path, 1, 3); }},
    {"zero_device", [](const std::string& path) { return special_files::MakeCharacterDevice(path, 1, 5); }},
    {"dev_zero", [](const std::string& path) { return symlink("/dev/zero", path.c_str()) == 0; }},
};

class WholeFileSpecial : public WholeFile, public testing::WithParamInterface<SpecialFileCase> {};

TEST_P(WholeFileSpecial, is_refused_when_writing_and_left_as_it_is) {
  const std::string path = PathOf("target");
  if (!GetParam().make(path)) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  const auto before = special_files::NodeAt(path);
  const std::string expected = "Cannot create file \"" + path + "\". Not a regular file";
  for (const FileErrors errors : {FileErrors::kRuntimeCode, FileErrors::kNamingTheFile}) {
    EXPECT_EQ(MessageOf([&] { platform::WriteWholeFile(path, "new", errors); }), expected);
  }
  EXPECT_EQ(special_files::NodeAt(path), before);
  EXPECT_EQ(Names(directory_), std::vector<std::string>{"target"});
}

// In a child process with a time limit: a reader that waited for a FIFO's writer or read a
// device to its end would otherwise hang the test or exhaust memory.
TEST_P(WholeFileSpecial, is_refused_at_once_when_reading) {
  const std::string path = PathOf("source");
  if (!GetParam().make(path)) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  for (const FileErrors errors : {FileErrors::kRuntimeCode, FileErrors::kNamingTheFile}) {
    const auto outcome =
        special_files::RunInChild([&] { return MessageOf([&] { platform::ReadWholeFile(path, errors); }); }, 10);
    ASSERT_TRUE(outcome.has_value()) << "the read did not return";
    EXPECT_EQ(*outcome, "Cannot open file \"" + path + "\". Not a regular file");
  }
}

INSTANTIATE_TEST_SUITE_P(nodes, WholeFileSpecial, testing::ValuesIn(kSpecialFiles),
                         testing::PrintToStringParamName());

// Links are followed to the file they lead to, which is replaced in its own directory; every
// link stays as it was.
TEST_F(WholeFile, writing_through_links_replaces_the_file_they_lead_to) {
  fs::create_directories(directory_ / "a" / "b");
  WriteBytes(directory_ / "a" / "b" / "real", "old");
  fs::create_symlink("b/real", directory_ / "a" / "middle");  // relative to its own directory
  fs::create_symlink(directory_ / "a" / "middle", directory_ / "name");
  platform::WriteWholeFile(PathOf("name"), "new", FileErrors::kRuntimeCode);
  EXPECT_EQ(ReadBytes(directory_ / "a" / "b" / "real"), "new");
  EXPECT_EQ(fs::read_symlink(directory_ / "name"), directory_ / "a" / "middle");
  EXPECT_EQ(fs::read_symlink(directory_ / "a" / "middle"), "b/real");
  EXPECT_EQ(Names(directory_ / "a" / "b"), std::vector<std::string>{"real"});
  EXPECT_EQ(Names(directory_ / "a"), (std::vector<std::string>{"b", "middle"}));
}

TEST_F(WholeFile, a_link_that_leads_nowhere_gets_its_file_created) {
  fs::create_symlink("made", directory_ / "name");
  platform::WriteWholeFile(PathOf("name"), "new", FileErrors::kRuntimeCode);
  EXPECT_TRUE(fs::is_symlink(directory_ / "name"));
  EXPECT_EQ(ReadBytes(directory_ / "made"), "new");
}

TEST_F(WholeFile, a_loop_of_links_cannot_be_created) {
  fs::create_symlink("two", directory_ / "one");
  fs::create_symlink("one", directory_ / "two");
  EXPECT_EQ(MessageOf([&] { platform::WriteWholeFile(PathOf("one"), "x", FileErrors::kNamingTheFile); }),
            "Cannot create file \"" + PathOf("one") + "\". Too many levels of symbolic links");
  EXPECT_EQ(Names(directory_), (std::vector<std::string>{"one", "two"}));
}

// Whatever lies at a name the writer might have used for its temporary file is not written
// through: here a link to another file at the name a fixed ".tmp" scheme would take.
TEST_F(WholeFile, a_link_at_a_temporary_name_is_left_alone) {
  WriteBytes(directory_ / "victim", "precious");
  fs::create_symlink(directory_ / "victim", directory_ / "file.tmp");
  platform::WriteWholeFile(PathOf("file"), "new", FileErrors::kRuntimeCode);
  EXPECT_EQ(ReadBytes(directory_ / "victim"), "precious");
  EXPECT_EQ(fs::read_symlink(directory_ / "file.tmp"), directory_ / "victim");
  EXPECT_EQ(ReadBytes(directory_ / "file"), "new");
}

TEST_F(WholeFile, a_replaced_file_keeps_its_permission_bits_and_a_new_one_follows_the_umask) {
  const fs::perms earlier = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
  WriteBytes(directory_ / "kept", "old");
  fs::permissions(directory_ / "kept", earlier);
  const mode_t saved_mask = umask(027);
  platform::WriteWholeFile(PathOf("kept"), "new", FileErrors::kRuntimeCode);
  platform::WriteWholeFile(PathOf("fresh"), "new", FileErrors::kRuntimeCode);
  umask(saved_mask);
  EXPECT_EQ(fs::status(directory_ / "kept").permissions(), earlier);
  EXPECT_EQ(fs::status(directory_ / "fresh").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(ReadBytes(directory_ / "kept"), "new");
}

// The superuser replacing a user's file leaves it the user's.
TEST_F(WholeFile, a_file_replaced_by_the_superuser_keeps_its_owner) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser can give files away";
  WriteBytes(directory_ / "theirs", "old");
  ASSERT_EQ(chown(PathOf("theirs").c_str(), 65534, 65534), 0);
  platform::WriteWholeFile(PathOf("theirs"), "new", FileErrors::kRuntimeCode);
  struct stat status {};
  ASSERT_EQ(stat(PathOf("theirs").c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 65534u);
  EXPECT_EQ(status.st_gid, 65534u);
}

// A file its user may not write is not replaced through a writable directory. As the
// superuser, who may write anything, the check runs in a child that gave up its rights.
TEST_F(WholeFile, a_protected_file_is_not_replaced) {
  WriteBytes(directory_ / "protected", "old");
  fs::permissions(directory_ / "protected", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(directory_, fs::perms::all);
  const auto outcome = special_files::RunInChild(
      [&] {
        if (geteuid() == 0 && setresuid(65534, 65534, 65534) != 0) return "cannot give up rights"s;
        return MessageOf([&] { platform::WriteWholeFile(PathOf("protected"), "new", FileErrors::kRuntimeCode); });
      },
      10);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(*outcome, "File access denied");
  EXPECT_EQ(ReadBytes(directory_ / "protected"), "old");
  EXPECT_EQ(Names(directory_), std::vector<std::string>{"protected"});
}

// A link in a sticky world-writable directory, as in /tmp, is followed only when the writer
// or the directory's owner owns it: a link another user planted there does not make the
// write replace the writer's file it leads to. The writer is a third user, in a child.
TEST_F(WholeFile, a_link_in_a_sticky_shared_directory_is_followed_only_for_the_writer_or_the_directory_owner) {
  if (geteuid() != 0) GTEST_SKIP() << "giving files and links to other users needs root";
  constexpr uid_t kDirectoryOwner = 65531, kStranger = 65533, kWriter = 65534;
  const fs::path shared = directory_ / "shared", home = directory_ / "home", link = shared / "chart.png";
  fs::create_directories(shared);
  fs::create_directories(home);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  fs::create_symlink(home / "own.png", link);
  ASSERT_EQ(chown(shared.c_str(), kDirectoryOwner, 0) | chown(home.c_str(), kWriter, 0), 0);
  for (const uid_t link_owner : {kWriter, kDirectoryOwner, kStranger}) {
    WriteBytes(home / "own.png", "old");
    ASSERT_EQ(chown((home / "own.png").c_str(), kWriter, 0) | lchown(link.c_str(), link_owner, 0), 0);
    const auto outcome = special_files::RunInChild(
        [&] {
          if (setresuid(kWriter, kWriter, kWriter) != 0) return "cannot become the writer"s;
          return MessageOf([&] { platform::WriteWholeFile(link, "new", FileErrors::kRuntimeCode); });
        },
        10);
    const bool followed = link_owner != kStranger;
    EXPECT_EQ(outcome.value_or("no end"), followed ? ""s : "File access denied"s) << link_owner;
    EXPECT_EQ(ReadBytes(home / "own.png"), followed ? "new" : "old") << link_owner;
    EXPECT_EQ(fs::read_symlink(link), home / "own.png");
  }
}

// A full disk (a small tmpfs filled up) with and without an earlier file: "Disk full", the
// earlier content as it was, and no temporary file.
class WholeFileFullDisk : public WholeFile, public testing::WithParamInterface<bool> {};

TEST_P(WholeFileFullDisk, is_reported_and_leaves_the_earlier_file) {
  const special_files::SmallTmpfs disk(PathOf("disk"));
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  if (GetParam()) WriteBytes(disk.File("file"), "old");
  ASSERT_TRUE(disk.Fill());
  EXPECT_EQ(MessageOf([&] { platform::WriteWholeFile(disk.File("file"), "new content", FileErrors::kNamingTheFile); }),
            "Disk full");
  EXPECT_EQ(ReadBytes(disk.File("file")), GetParam() ? "old" : "");
  const std::vector<std::string> expected = GetParam() ? std::vector<std::string>{"file", "filler"}
                                                       : std::vector<std::string>{"filler"};
  EXPECT_EQ(Names(PathOf("disk")), expected);
}

INSTANTIATE_TEST_SUITE_P(earlier_file, WholeFileFullDisk, testing::Bool());

}  // namespace
