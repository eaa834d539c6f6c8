#include "platform/samba_config.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/share_list.h"

namespace {

std::string ReadFile(const std::string& name) {
  std::ifstream file(std::string(std::getenv("SHAREMON_SOURCE_DIR")) + "/tests/platform/samba_samples/" + name,
                     std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(samba_config_test, services_of_testparm_in_order_without_global) {
  const auto shares = platform::ParseTestparmOutput(ReadFile("testparm-s.txt"));
  ASSERT_EQ(shares.size(), 3u);
  EXPECT_EQ(shares[0].name, "public");
  EXPECT_EQ(shares[0].path, "/tmp/sambalab/lab/shares/s1");
  EXPECT_EQ(shares[1].name, "Отчеты");
  EXPECT_EQ(shares[2].name, "team docs");
  EXPECT_EQ(shares[2].path, "/tmp/sambalab/lab/shares/s3");
}

TEST(samba_config_test, parameters_belong_to_their_own_service) {
  const auto shares = platform::ParseTestparmOutput(
      "[GLOBAL]\n\tpath = /global\n\tcomment = g\n\n[a]\n\tcomment = first share\n\n[b]\n\tpath = /b\n\tcomment = \n"
      "[odd]name]\n");
  ASSERT_EQ(shares.size(), 3u);
  EXPECT_EQ(shares[0].name, "a");
  EXPECT_EQ(shares[0].comment, "first share");
  EXPECT_EQ(shares[0].path, "");
  EXPECT_EQ(shares[1].path, "/b");
  EXPECT_EQ(shares[1].comment, "");
  EXPECT_EQ(shares[2].name, "odd]name");
}

TEST(samba_config_test, user_shares_one_per_line_and_names_match_ignoring_case) {
  EXPECT_EQ(platform::ParseUsershareList("alpha\n\nbeta gamma\n"), (std::vector<std::string>{"alpha", "beta gamma"}));
  const std::vector<platform::SambaShare> shares{{"Public", "", ""}, {"IPC$", "", ""}};
  EXPECT_EQ(platform::FindSambaShare(shares, "PUBLIC"), &shares[0]);
  EXPECT_EQ(platform::FindSambaShare(shares, "ipc$"), &shares[1]);
  EXPECT_EQ(platform::FindSambaShare(shares, "publi"), nullptr);
  const std::vector<platform::SambaShare> cyrillic{{"Отчёты", "", ""}, {"中文", "", ""}};
  EXPECT_EQ(platform::FindSambaShare(cyrillic, "ОТЧЁТЫ"), &cyrillic[0]);
  EXPECT_EQ(platform::FindSambaShare(cyrillic, "отчёты"), &cyrillic[0]);
  EXPECT_EQ(platform::FindSambaShare(cyrillic, "отчеты"), nullptr);
  EXPECT_EQ(platform::FindSambaShare(cyrillic, "中文"), &cyrillic[1]);
  EXPECT_EQ(platform::FindSambaShare(cyrillic, "日本"), nullptr);  // both fold to "??"
}

// A private configuration that testparm reads; no server needs to run.
class share_list_test : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / ("share_list_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
    const std::string d = directory_.string();
    std::ofstream(directory_ / "smb.conf")
        << "[global]\n  lock directory = " << d << "\n  state directory = " << d << "\n  cache directory = " << d
        << "\n  pid directory = " << d << "\n  private dir = " << d << "\n  usershare path =\n"
        << "[zeta]\n  path = /tmp\n[Отчеты]\n  path = /tmp\n[team docs]\n  path = /tmp\n"
        << "[hidden$]\n  path = /tmp\n  browseable = no\n[中文]\n  path = /tmp\n";
    setenv("SHAREMON_SMB_CONF", (directory_ / "smb.conf").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("SHAREMON_SMB_CONF");
    std::filesystem::remove_all(directory_);
  }
  std::filesystem::path directory_;
};

TEST_F(share_list_test, configured_shares_in_order_then_the_interprocess_share) {
  rtl::StringList shares{"stale entry"};
  platform::EnumerateShares(shares);
  const rtl::StringList expected{"zeta", rtl::Windows1251FromUtf8("Отчеты"), "team docs", "hidden$", "??", "IPC$"};
  EXPECT_EQ(shares, expected);
}

TEST_F(share_list_test, an_unreadable_configuration_gives_an_empty_list) {
  setenv("SHAREMON_SMB_CONF", (directory_ / "missing.conf").c_str(), 1);
  rtl::StringList shares{"stale entry"};
  platform::EnumerateShares(shares);
  EXPECT_TRUE(shares.Empty());
}

}  // namespace
