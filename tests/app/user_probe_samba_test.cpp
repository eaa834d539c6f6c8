// End to end against a real Samba server: the test starts its own smbd on 127.0.0.1 from a
// private directory (tests/app/samba_lab.sh), holds client sessions open with smbclient and
// checks the share list, netshare's report and the probe's count against them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/share_probe.h"
#include "platform/netshare/share_report.h"
#include "rtl/console_text.h"
#include "samba_lab.h"
#include "tests/support/temporary_directory.h"

namespace {

using samba_lab::BuildDir;
using samba_lab::HasProgram;
using samba_lab::LabScript;
using samba_lab::RunProgram;

class samba_end_to_end_test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "smbd serves real users and smbstatus answers only when run as root";
    if (!HasProgram("smbd") || !HasProgram("smbclient")) GTEST_SKIP() << "samba and smbclient are not installed";
    port_ = std::to_string(samba_lab::FreePort());
    lab_ = (std::filesystem::temp_directory_path() / ("sharemon_samba_" + std::to_string(getpid()))).string();
    alice_ = "shm" + port_ + "a";
    bob_ = "shm" + port_ + "b";
    setenv("SHAREMON_SMB_CONF", (lab_ + "/smb.conf").c_str(), 1);
    // Root reads Samba itself when no status service answers; a service of this machine must not.
    setenv("SHAREMON_STATUS_SOCKET", (lab_ + "/no-service.sock").c_str(), 1);
    started_ = true;
    const auto start = RunProgram({LabScript(), "start", lab_, port_, alice_, bob_});
    ASSERT_EQ(start.exit_code, 0u) << start.output;
  }

  void TearDown() override {
    if (!started_) return;
    const auto stop = RunProgram({LabScript(), "stop", lab_});
    EXPECT_EQ(stop.exit_code, 0u) << stop.output;
    EXPECT_FALSE(std::filesystem::exists(lab_));
    unsetenv("SHAREMON_SMB_CONF");
    unsetenv("SHAREMON_STATUS_SOCKET");
  }

  void Open(const std::string& session, const std::string& share, const std::string& user) {
    const auto open = RunProgram({LabScript(), "open", lab_, session, share, user});
    ASSERT_EQ(open.exit_code, 0u) << open.output;
  }

  std::string Probe(const std::string& share) {
    const auto probe = RunProgram({BuildDir() + "/sharemon", "--probe", share});
    EXPECT_EQ(probe.exit_code, 0u) << share;
    return probe.output;
  }

  std::string At(const std::string& user) const { return user + "@127.0.0.1"; }

  bool started_ = false;
  std::string port_, lab_, alice_, bob_;
};

TEST_F(samba_end_to_end_test, share_list_report_and_count_follow_the_live_sessions) {
  const auto shares = RunProgram({BuildDir() + "/sharemon", "--list-shares"});
  EXPECT_EQ(shares.exit_code, 0u);
  EXPECT_EQ(shares.output, "public\nОтчеты\nteam docs\nIPC$\n");

  Open("s1", "public", alice_);
  Open("s2", "public", alice_);
  Open("s3", "Отчеты", bob_);
  Open("s4", "team docs", "-");

  // netshare prints exactly the report, and the cut of that report is exactly the users.
  const auto report = RunProgram({BuildDir() + "/netshare", "public"});
  EXPECT_EQ(report.exit_code, 0u);
  EXPECT_EQ(report.output, netshare::ShareReport("public", lab_ + "/shares/s1", "Public files",
                                                 {{alice_, "127.0.0.1"}, {alice_, "127.0.0.1"}}));
  EXPECT_EQ(core::CutUsersSection(rtl::ConvertConsoleText(report.output)), At(alice_) + " " + At(alice_) + " ");
  const auto spaced = RunProgram({BuildDir() + "/netshare", "team docs"});
  EXPECT_EQ(spaced.output, netshare::ShareReport("team docs", lab_ + "/shares/s3", "", {{"nobody", "127.0.0.1"}}));

  EXPECT_EQ(Probe("public"), "2\t" + At(alice_) + " " + At(alice_) + "\n");
  EXPECT_EQ(Probe("Отчеты"), "1\t" + At(bob_) + "\n");
  EXPECT_EQ(Probe("ОТЧЕТЫ"), "1\t" + At(bob_) + "\n");  // share names match without regard to case
  EXPECT_EQ(Probe("team docs"), "1\t" + At("nobody") + "\n");
  EXPECT_EQ(Probe("IPC$"), "0\t\n");

  // A share that does not exist: a short error text and exit code 2; the probe fails with it.
  const auto missing = RunProgram({BuildDir() + "/netshare", "nothing here"});
  EXPECT_EQ(missing.exit_code, 2u);
  EXPECT_EQ(missing.output, netshare::NoSuchShareReport());
  const auto probe = RunProgram({BuildDir() + "/sharemon", "--probe", "nothing here"});
  EXPECT_EQ(probe.exit_code, 1u);
  EXPECT_EQ(probe.output, "Данный общий ресурс не существует.\n");

  const auto closed = RunProgram({LabScript(), "close", lab_, "s2"});
  ASSERT_EQ(closed.exit_code, 0u) << closed.output;
  EXPECT_EQ(Probe("public"), "1\t" + At(alice_) + "\n");
}

// No server needed: without a status service a user other than root is refused at once.
TEST(samba_rights_test, a_user_without_the_rights_gets_access_denied) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can run a program as another user";
  if (!HasProgram("setpriv") || !HasProgram("testparm")) GTEST_SKIP() << "setpriv or samba is not installed";
  TemporaryDirectory directory;
  std::filesystem::permissions(directory.Path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                                     std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                                     std::filesystem::perms::others_exec);
  const std::string d = directory.Path().string();
  TemporaryDirectory::WriteBytes(directory.File("smb.conf"),
                                 "[global]\n lock directory = " + d + "\n state directory = " + d +
                                     "\n cache directory = " + d + "\n pid directory = " + d +
                                     "\n private dir = " + d + "\n usershare path =\n[public]\n path = /tmp\n");
  setenv("SHAREMON_SMB_CONF", directory.File("smb.conf").c_str(), 1);
  setenv("SHAREMON_STATUS_SOCKET", directory.File("no-service.sock").c_str(), 1);
  const auto denied = samba_lab::RunKeepingErrors(
      samba_lab::Joined(samba_lab::AsOutsider(), {BuildDir() + "/netshare", "public"}), directory.File("errors"));
  unsetenv("SHAREMON_SMB_CONF");
  unsetenv("SHAREMON_STATUS_SOCKET");
  EXPECT_EQ(denied.exit_code, 2u);
  EXPECT_EQ(denied.output, netshare::AccessDeniedReport());
  // One line that names the missing service and how to start it.
  EXPECT_NE(denied.errors.find("no status service at " + directory.File("no-service.sock")), std::string::npos)
      << denied.errors;
  EXPECT_NE(denied.errors.find("sharemond"), std::string::npos) << denied.errors;
  EXPECT_EQ(std::count(denied.errors.begin(), denied.errors.end(), '\n'), 1) << denied.errors;
}

}  // namespace
