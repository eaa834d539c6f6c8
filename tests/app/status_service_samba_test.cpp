// End to end through the status service: the test starts its own smbd (samba_lab.sh), a test
// group with a member created for the purpose, and sharemond on a private socket in the lab
// directory, holds smbclient sessions open and checks what netshare and "sharemon --probe" give
// a member, an outsider and root, how the service takes bad requests and a hung Samba tool,
// that one reading of Samba answers a second of requests, and that the sessions and open files
// it reads show alike on the command line and on the Qt window's page (offscreen). How it
// shares itself among users is tested in tests/platform/status_service_fairness_test.cpp.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <variant>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "app/choice_combo_box.h"
#include "app/form1.h"
#include "app/report_list_view.h"
#include "core/server_faces.h"
#include "platform/netshare/share_report.h"
#include "platform/server_sessions.h"
#include "platform/status_service/status_client.h"
#include "platform/status_service/status_protocol.h"
#include "qt_application.h"
#include "samba_lab.h"
#include "tests/support/tab_separated_rows.h"

namespace {

using namespace std::chrono_literals;
using samba_lab::BuildDir;
using samba_lab::Joined;
using samba_lab::ReadFile;
using samba_lab::RunProgram;
using Clock = std::chrono::steady_clock;
using Outcome = status_service::ServiceAnswer::Outcome;

const char* const kSambaTools[] = {"testparm", "net", "smbstatus", "smbcontrol"};

void WriteScript(const std::string& path, const std::string& text) {
  std::ofstream(path) << "#!/bin/sh\n" << text;
  std::filesystem::permissions(path, std::filesystem::perms(0755));
}

std::size_t LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// Sends bytes on a fresh connection to the socket and returns what the service sends back until
// it closes (at most 10 s), or until keep bytes have come: then the client closes (keep 0: right
// after sending).
std::string RawExchange(const std::string& socket_path, const std::string& bytes,
                        std::size_t keep = std::string::npos) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socket_path.copy(address.sun_path, sizeof address.sun_path - 1);
  const timeval wait{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  std::string received;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size())) {
    char buffer[4096];
    while (received.size() < keep) {
      const ssize_t count = recv(fd, buffer, std::min(sizeof buffer, keep - received.size()), 0);
      if (count <= 0) break;
      received.append(buffer, static_cast<std::size_t>(count));
    }
  }
  close(fd);
  return received;
}

class status_service_samba_test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "the service, smbd and the test users need root";
    for (const char* program : {"smbd", "smbclient", "setpriv", "groupadd"}) {
      if (!samba_lab::HasProgram(program)) GTEST_SKIP() << program << " is not installed";
    }
    port_ = std::to_string(samba_lab::FreePort());
    lab_ = (std::filesystem::temp_directory_path() / ("sharemon_service_" + std::to_string(getpid()))).string();
    alice_ = "shm" + port_ + "a", bob_ = "shm" + port_ + "b", member_ = "shm" + port_ + "m";
    group_ = "sharemon-test-" + port_;
    socket_ = lab_ + "/status.sock";
    started_ = true;
    Lab({"start", lab_, port_, alice_, bob_});
    Lab({"group", lab_, group_, member_});
    PreparePrograms();
    setenv("SHAREMON_SMB_CONF", (lab_ + "/smb.conf").c_str(), 1);
    setenv("SHAREMON_STATUS_SOCKET", socket_.c_str(), 1);
  }

  void TearDown() override {
    if (!started_) return;
    unsetenv("SHAREMON_SMB_CONF");
    unsetenv("SHAREMON_STATUS_SOCKET");
    const auto stop = RunProgram({samba_lab::LabScript(), "stop", lab_});
    EXPECT_EQ(stop.exit_code, 0u) << stop.output;
    EXPECT_FALSE(std::filesystem::exists(lab_));
    EXPECT_FALSE(getpwnam(member_.c_str()));
    EXPECT_FALSE(getgrnam(group_.c_str()));
  }

  void Lab(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), samba_lab::LabScript());
    const auto run = RunProgram(arguments);
    ASSERT_EQ(run.exit_code, 0u) << arguments[1] << ": " << run.output;
  }

  // The client programs where the test users reach them; Samba tool wrappers that count their
  // runs, one set for the service (runs/) and one for the clients (client-runs/).
  void PreparePrograms() {
    for (const auto* directory : {"/programs", "/service-bin", "/client-bin", "/hung-bin", "/runs", "/client-runs"}) {
      std::filesystem::create_directories(lab_ + directory);
      std::filesystem::permissions(lab_ + directory, std::filesystem::perms(0755));
    }
    for (const auto* program : {"/sharemon", "/netshare"}) {
      std::filesystem::copy_file(BuildDir() + program, lab_ + "/programs" + program);
    }
    std::filesystem::copy_file(samba_lab::SourceDir() + "/tests/lsan.supp", lab_ + "/programs/lsan.supp");
    for (const char* tool : kSambaTools) {
      const auto where = RunProgram({"sh", "-c", std::string("command -v ") + tool});
      ASSERT_EQ(where.exit_code, 0u) << tool;
      const std::string real = where.output.substr(0, where.output.find('\n'));
      WriteScript(lab_ + "/service-bin/" + tool, "echo >>" + lab_ + "/runs/" + tool + "\nexec " + real + " \"$@\"\n");
      WriteScript(lab_ + "/client-bin/" + tool, "echo >>" + lab_ + "/client-runs/" + tool + "\nexec " + real + " \"$@\"\n");
    }
    // Counts its run, then hangs in a child of its own, as a tool waiting on a lock would.
    WriteScript(lab_ + "/hung-bin/smbstatus", "echo >>" + lab_ + "/runs/smbstatus\nsleep 60\n");
  }

  // Starts sharemond for the test group, the bin directories first on its PATH.
  void StartService(const std::string& bin_directories, const std::vector<std::string>& options = {}) {
    const std::string path = std::getenv("PATH");
    setenv("PATH", (bin_directories + ":" + path).c_str(), 1);
    std::vector<std::string> arguments{"service", lab_, BuildDir() + "/sharemond", group_};
    arguments.insert(arguments.end(), options.begin(), options.end());
    Lab(arguments);
    setenv("PATH", path.c_str(), 1);
  }

  std::size_t Runs(const std::string& directory, const std::string& tool) {
    return LineCount(ReadFile(lab_ + "/" + directory + "/" + tool));
  }

  std::string Log() { return ReadFile(lab_ + "/sharemond.log"); }

  void Open(const std::string& session, const std::string& share, const std::string& user,
            const std::vector<std::string>& client_options = {}) {
    std::vector<std::string> arguments{"open", lab_, session, share, user};
    arguments.insert(arguments.end(), client_options.begin(), client_options.end());
    Lab(arguments);
  }

  // A file of the public share that the session opens and holds open while it lasts.
  void Hold(const std::string& session, const std::string& file) {
    const std::string path = lab_ + "/shares/s1/" + file;
    std::ofstream(path) << "held\n";
    std::filesystem::permissions(path, std::filesystem::perms(0666));
    Lab({"hold", lab_, session, file});
  }

  // Alice over SMB1 holds alice.txt, bob encrypted bob.txt, both on "public".
  void HoldOnPublicFromSmb1AndEncrypted() {
    Open("s1", "public", alice_, {"-m", "NT1", "--option=client min protocol=NT1"});
    Open("s2", "public", bob_, {"--client-protection=encrypt"});
    Hold("s1", "alice.txt");
    Hold("s2", "bob.txt");
  }

  // Runs a client program of the lab as someone else: the environment a user session would
  // have, with the client wrappers first on PATH and the socket given by socket.
  samba_lab::ProgramRun RunAs(const std::vector<std::string>& who, const std::vector<std::string>& command,
                              const std::string& socket) {
    const std::vector<std::string> environment{
        "env", "LSAN_OPTIONS=suppressions=" + lab_ + "/programs/lsan.supp",
        "PATH=" + lab_ + "/client-bin:" + std::getenv("PATH"), "SHAREMON_STATUS_SOCKET=" + socket};
    auto program = command;
    program[0] = lab_ + "/programs/" + program[0];
    return samba_lab::RunKeepingErrors(Joined(Joined(who, environment), program), lab_ + "/errors");
  }

  std::vector<std::string> AsMember() {
    const passwd* entry = getpwnam(member_.c_str());
    return samba_lab::AsUser(member_, entry != nullptr ? std::to_string(entry->pw_gid) : "users");
  }

  std::string At(const std::string& user) const { return user + "@127.0.0.1"; }

  std::string PublicReport(const std::vector<netshare::Connection>& connections) const {
    return netshare::ShareReport("public", lab_ + "/shares/s1", "Public files", connections);
  }

  bool started_ = false;
  std::string port_, lab_, alice_, bob_, member_, group_, socket_;
};

TEST_F(status_service_samba_test, members_read_the_connections_and_others_are_told_why_not) {
  StartService(lab_ + "/service-bin");
  struct stat socket_file{};
  ASSERT_EQ(stat(socket_.c_str(), &socket_file), 0);
  EXPECT_EQ(socket_file.st_mode & 07777, 0660u);
  EXPECT_EQ(socket_file.st_uid, 0u);
  Open("s1", "public", alice_);
  Open("s2", "public", alice_);
  Open("s3", "Отчеты", bob_);
  const auto expected = PublicReport({{alice_, "127.0.0.1"}, {alice_, "127.0.0.1"}});

  for (const auto& who : {std::vector<std::string>{}, AsMember()}) {
    const auto report = RunAs(who, {"netshare", "public"}, socket_);
    EXPECT_EQ(report.exit_code, 0u);
    EXPECT_EQ(report.output, expected);
    EXPECT_EQ(report.errors, "");
  }
  const auto missing = RunAs(AsMember(), {"netshare", "nothing here"}, socket_);
  EXPECT_EQ(missing.exit_code, 2u);
  EXPECT_EQ(missing.output, netshare::NoSuchShareReport());
  EXPECT_EQ(RunAs(AsMember(), {"sharemon", "--probe", "public"}, socket_).output,
            "2\t" + At(alice_) + " " + At(alice_) + "\n");
  EXPECT_EQ(RunAs(AsMember(), {"sharemon", "--probe", "ОТЧЕТЫ"}, socket_).output, "1\t" + At(bob_) + "\n");
  // Through the service the clients run no Samba tool of their own.
  for (const char* tool : kSambaTools) EXPECT_EQ(Runs("client-runs", tool), 0u) << tool;

  struct Refused {
    std::vector<std::string> who;
    std::string socket;
    std::string explanation;
  };
  const Refused refusals[] = {
      {samba_lab::AsOutsider(), socket_, "not a member of group " + group_},
      {AsMember(), lab_ + "/no-service.sock", "no status service at " + lab_ + "/no-service.sock"},
  };
  for (const auto& refused : refusals) {
    const auto denied = RunAs(refused.who, {"netshare", "public"}, refused.socket);
    EXPECT_EQ(denied.exit_code, 2u);
    EXPECT_EQ(denied.output, netshare::AccessDeniedReport());
    EXPECT_NE(denied.errors.find(refused.explanation), std::string::npos) << denied.errors;
    EXPECT_EQ(LineCount(denied.errors), 1u) << denied.errors;
    const auto probe = RunAs(refused.who, {"sharemon", "--probe", "public"}, refused.socket);
    EXPECT_EQ(probe.exit_code, 1u);
    EXPECT_EQ(probe.output, "");
    EXPECT_NE(probe.errors.find("Отказано в доступе."), std::string::npos) << probe.errors;
  }
  EXPECT_NE(RunAs(samba_lab::AsOutsider(), {"netshare", "public"}, socket_).errors.find("usermod -aG " + group_),
            std::string::npos);
}

TEST_F(status_service_samba_test, bad_requests_are_refused_and_the_next_good_one_is_answered) {
  StartService(lab_ + "/service-bin", {"--client-time-limit", "300"});
  Open("s1", "Отчеты", bob_);
  const auto expected = netshare::ShareReport("Отчеты", lab_ + "/shares/s2", "", {{bob_, "127.0.0.1"}});
  const auto answered_well = [&] {
    const auto answer = status_service::AskForReport(socket_, "Отчеты", 20s);
    return answer.outcome == Outcome::Answered && answer.exit_code == 0 && answer.report == expected;
  };
  ASSERT_TRUE(answered_well());
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case refused[] = {
      {"over the size limit", "report " + std::string(4000, 'a') + "\n"},
      {"over the size limit without a line end", std::string(5000, 'x')},
      {"a NUL byte", std::string("report Отч\0ты\n", 19)},
      {"a control character", "report \x01\n"},
      {"invalid UTF-8", "report \xD0\n"},
      {"an empty name", "report \n"},
      {"an unknown request", "list\n"},
      {"a second request", "report Отчеты\nreport public\n"},
      {"silence", ""},
      {"a request without its line end", "report Отчеты"},
  };
  for (const auto& c : refused) {
    const auto reply = status_service::ParseReply(RawExchange(socket_, c.bytes));
    ASSERT_TRUE(reply) << c.what;
    EXPECT_TRUE(reply->refused) << c.what;
    EXPECT_TRUE(answered_well()) << "after " << c.what;
  }
  // The first refusal is logged as it is (the rest of the second's are counted).
  EXPECT_NE(Log().find("refused a request from uid 0 gid 0 pid "), std::string::npos) << Log();
  // Clients that go away before or while the reply comes: the service must not die of SIGPIPE.
  for (const std::size_t keep : {0, 0, 0, 0, 0, 1, 5, 20}) {
    EXPECT_EQ(RawExchange(socket_, "report Отчеты\n", keep).size(), keep);
    EXPECT_TRUE(answered_well()) << "after a client that left after " << keep << " bytes of its reply";
  }
}

TEST_F(status_service_samba_test, a_hung_smbstatus_gives_waiting_clients_the_error_report) {
  StartService(lab_ + "/hung-bin:" + lab_ + "/service-bin", {"--tool-time-limit", "1000"});
  const auto started = Clock::now();
  std::vector<status_service::ServiceAnswer> answers(5);
  std::vector<std::thread> clients;
  for (auto& answer : answers) {
    clients.emplace_back([&] { answer = status_service::AskForReport(socket_, "public", 20s); });
  }
  for (auto& client : clients) client.join();
  const auto waited = Clock::now() - started;
  for (const auto& answer : answers) {
    EXPECT_EQ(answer.outcome, Outcome::Answered) << answer.problem;
    EXPECT_EQ(answer.exit_code, 2);
    EXPECT_EQ(answer.report, netshare::StatusUnreadableReport());
  }
  // They waited for the tool's time limit, not for the tool: it hangs for a minute.
  EXPECT_GE(waited, 1s);
  EXPECT_LT(waited, 10s);
  EXPECT_EQ(Runs("runs", "smbstatus"), 1u);
  EXPECT_NE(Log().find("reload failed: "), std::string::npos) << Log();
  EXPECT_NE(Log().find("smbstatus"), std::string::npos) << Log();

  // netshare prints the error report too, and the service keeps serving.
  const auto report = RunAs({}, {"netshare", "public"}, socket_);
  EXPECT_EQ(report.exit_code, 2u);
  EXPECT_EQ(report.output, netshare::StatusUnreadableReport());
  // A probe of such a report is a failure with the report's reason, not a count of 0.
  const auto probe = RunAs({}, {"sharemon", "--probe", "public"}, socket_);
  EXPECT_EQ(probe.exit_code, 1u);
  EXPECT_EQ(probe.errors, "Не удается получить сведения о подключениях к серверу Samba.\n");
  EXPECT_EQ(status_service::AskForReport(socket_, "nothing here", 20s).report, netshare::NoSuchShareReport());
}

TEST_F(status_service_samba_test, samba_down_or_its_configuration_unreadable_gives_the_error_reports) {
  StartService(lab_ + "/service-bin");
  const auto ask = [&] { return status_service::AskForReport(socket_, "public", 20s); };
  ASSERT_EQ(ask().report, PublicReport({}));
  const auto configuration = lab_ + "/smb.conf";
  struct Case {
    const char* what;
    std::string before;  // shell commands that break Samba
    std::string after;   // and mend it
    std::string report;
  };
  const Case cases[] = {
      {"configuration gone", "mv " + configuration + " " + configuration + ".away",
       "mv " + configuration + ".away " + configuration, netshare::ConfigurationUnreadableReport()},
      {"server stopped", samba_lab::LabScript() + " halt " + lab_, "", netshare::ServerNotRunningReport()},
  };
  const auto failed_readings = [&] {
    const std::string log = Log();
    std::size_t count = 0;
    for (auto at = log.find("reload failed: "); at != std::string::npos; at = log.find("reload failed: ", at + 1)) ++count;
    return count;
  };
  for (const auto& c : cases) {
    const auto failed_before = failed_readings();
    ASSERT_EQ(RunProgram({"sh", "-c", c.before}).exit_code, 0u) << c.what;
    std::this_thread::sleep_for(1050ms);  // past the second of the last reading
    const auto broken = ask();
    EXPECT_EQ(broken.outcome, Outcome::Answered) << c.what << ": " << broken.problem;
    EXPECT_EQ(broken.exit_code, 2) << c.what;
    EXPECT_EQ(broken.report, c.report) << c.what;
    EXPECT_EQ(failed_readings(), failed_before + 1) << c.what << ": " << Log();
    if (!c.after.empty()) {
      ASSERT_EQ(RunProgram({"sh", "-c", c.after}).exit_code, 0u) << c.what;
      std::this_thread::sleep_for(1050ms);
      EXPECT_EQ(ask().report, PublicReport({})) << "after " << c.what;
    }
  }
}

TEST_F(status_service_samba_test, one_reading_of_samba_answers_a_second_of_requests) {
  StartService(lab_ + "/service-bin");
  Open("s1", "public", alice_);
  Open("s2", "public", alice_);
  const auto two = PublicReport({{alice_, "127.0.0.1"}, {alice_, "127.0.0.1"}});
  const auto ask = [&](const char* share) { return status_service::AskForReport(socket_, share, 20s); };
  // A tick over 30 shares: one request after the other, as the window probes them, and then
  // as many at once as one user may ask.
  const char* const shares[] = {"public", "Отчеты", "team docs", "IPC$", "PUBLIC"};
  const auto burst_start = Clock::now();
  std::vector<status_service::ServiceAnswer> answers(30 + 16);
  answers[0] = ask(shares[0]);
  const auto first_answered = Clock::now();  // the reading ended before this
  for (int i = 1; i < 30; ++i) answers[i] = ask(shares[i % 5]);
  std::vector<std::thread> clients;
  for (std::size_t i = 30; i < answers.size(); ++i) clients.emplace_back([&, i] { answers[i] = ask(shares[i % 5]); });
  for (auto& client : clients) client.join();
  const auto burst_end = Clock::now();
  ASSERT_LT(burst_end - first_answered, 900ms) << "the burst took longer than the second it is about";
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_EQ(answers[i].outcome, Outcome::Answered) << answers[i].problem;
    EXPECT_EQ(answers[i].exit_code, 0) << shares[i % 5];
  }
  for (const std::size_t i : {0, 4, 30, 34}) EXPECT_EQ(answers[i].report, two) << i;
  for (const char* tool : kSambaTools) EXPECT_EQ(Runs("runs", tool), 1u) << tool;

  // Samba drops a session at its logoff; within the second the reading still shows it.
  Lab({"logoff", lab_, "s2"});
  if (Clock::now() - burst_start < 900ms) {
    EXPECT_EQ(ask("public").report, two);
  }
  std::this_thread::sleep_until(burst_end + 1050ms);
  EXPECT_EQ(ask("public").report, PublicReport({{alice_, "127.0.0.1"}}));
  for (const char* tool : kSambaTools) EXPECT_EQ(Runs("runs", tool), 2u) << tool;
}

}  // namespace

// An SMB1 client and an encrypted one, each holding a file open: the service's readings name
// both with their dialect and protection, and each file with the user who holds it.
TEST_F(status_service_samba_test, sessions_and_open_files_show_each_client_with_its_dialect_encryption_and_files) {
  HoldOnPublicFromSmb1AndEncrypted();
  StartService(lab_ + "/service-bin");

  const auto sessions = platform::ReadSessions();
  ASSERT_TRUE(sessions.Read()) << sessions.error;
  ASSERT_EQ(sessions.records.size(), 2u);
  std::map<std::string, platform::SessionRecord> by_user;
  for (const auto& session : sessions.records) by_user[session.user] = session;
  EXPECT_EQ(by_user[alice_].dialect, "NT1");
  EXPECT_EQ(by_user[alice_].encryption.degree, platform::ProtectionDegree::kNone);
  EXPECT_TRUE(by_user[bob_].dialect.starts_with("SMB3")) << by_user[bob_].dialect;
  EXPECT_NE(by_user[bob_].encryption.degree, platform::ProtectionDegree::kNone);
  EXPECT_NE(by_user[bob_].encryption.cipher, "");
  for (const auto& user : {alice_, bob_}) {
    EXPECT_EQ(by_user[user].computer, "127.0.0.1");
    EXPECT_EQ(by_user[user].open_files, 1);
    EXPECT_TRUE(by_user[user].connected_at.has_value());
  }

  const auto files = platform::ReadOpenFiles("public");
  ASSERT_TRUE(files.Read()) << files.error;
  std::map<std::string, std::string> holders;
  for (const auto& file : files.records) {
    EXPECT_EQ(file.share, "public");
    EXPECT_EQ(file.computer, "127.0.0.1");
    EXPECT_TRUE(file.access.read && file.access.write);
    holders[file.path] = file.user;
  }
  EXPECT_EQ(holders, (std::map<std::string, std::string>{{"alice.txt", alice_}, {"bob.txt", bob_}}));
  EXPECT_EQ(platform::ReadOpenFiles("").records.size(), 2u);
  const auto elsewhere = platform::ReadOpenFiles(rtl::Windows1251FromUtf8("Отчеты"));
  EXPECT_TRUE(elsewhere.Read() && elsewhere.records.empty());

  // The command line's rows of the same readings: the captions, then a row per record.
  const auto rows = [](const core::FaceOutput& output) {
    EXPECT_EQ(output.exit_code, 0) << output.error;
    std::map<std::string, std::vector<std::string>> by_first;
    for (auto& fields : TabSeparatedRows(output.out)) by_first[fields.at(0)] = fields;
    return by_first;
  };
  const auto session_rows = rows(core::SessionsOutput(platform::ReadSessions()));
  ASSERT_EQ(session_rows.size(), 3u);
  EXPECT_EQ(session_rows.at("Пользователь")[2], "Протокол");
  EXPECT_EQ(session_rows.at(alice_).size(), 8u);  // the idle time, which Samba does not give, is empty at the end
  EXPECT_EQ(std::vector(session_rows.at(alice_).begin(), session_rows.at(alice_).begin() + 4),
            (std::vector<std::string>{alice_, "127.0.0.1", "NT1", "none"}));
  EXPECT_TRUE(session_rows.at(bob_)[3].find(" (") != std::string::npos) << session_rows.at(bob_)[3];
  EXPECT_EQ(session_rows.at(bob_)[5], "1");
  const auto file_rows = rows(core::OpenFilesOutput(platform::ReadOpenFiles("public")));
  ASSERT_EQ(file_rows.size(), 3u);
  for (const auto& [path, user] : holders) {
    const auto& fields = file_rows.at(path);
    ASSERT_EQ(fields.size(), 7u) << path;
    EXPECT_EQ(fields[1] + "|" + fields[2] + "|" + fields[3], "public|" + user + "|127.0.0.1");
    EXPECT_TRUE(fields[4].starts_with("RW")) << fields[4];
    EXPECT_FALSE(fields[6].empty()) << "opened at";
  }
}

namespace {

// A report list's captions, then its rows, as the command line prints them.
std::vector<std::vector<std::string>> ListedRows(const QAbstractItemModel& model) {
  std::vector<std::vector<std::string>> rows(model.rowCount() + 1);
  for (int column = 0; column < model.columnCount(); ++column) {
    rows[0].push_back(model.headerData(column, Qt::Horizontal).toString().toStdString());
    for (int row = 0; row < model.rowCount(); ++row) {
      rows[row + 1].push_back(model.index(row, column).data().toString().toStdString());
    }
  }
  return rows;
}

// The rows after the captions in one order, whichever order the server gave.
std::vector<std::vector<std::string>> Sorted(std::vector<std::vector<std::string>> rows) {
  if (!rows.empty()) std::sort(rows.begin() + 1, rows.end());
  return rows;
}

}  // namespace

// The Qt window's page "Сеансы и файлы", offscreen, with an SMB1 client, an encrypted one and a
// guest holding files open on two shares: it lists the sessions "--sessions" prints and, with
// "public" chosen in its box, the files "--open-files public" prints. Its picture is kept in
// the build tree as tests/app/sessions_and_files_page.png.
TEST_F(status_service_samba_test, the_qt_windows_page_lists_what_the_command_line_prints) {
  HoldOnPublicFromSmb1AndEncrypted();
  Lab({"files", lab_, "s3", "Отчеты", "2"});
  StartService(lab_ + "/service-bin");
  const auto sessions = RunAs({}, {"sharemon", "--sessions"}, socket_);
  const auto files = RunAs({}, {"sharemon", "--open-files", "public"}, socket_);
  ASSERT_EQ(sessions.exit_code + files.exit_code, 0u) << sessions.errors << files.errors;

  TestApplication();
  std::filesystem::create_directory(lab_ + "/window");
  TForm1 form;
  form.SetExecutableFileName(QString::fromStdString(lab_ + "/window/sharemon"));
  form.show();
  form.PageControl1()->setCurrentIndex(static_cast<int>(core::WindowPage::kSessionsAndFiles));
  const QAbstractItemModel& listed_sessions = *form.SessionsList()->model();
  EXPECT_TRUE(QTest::qWaitFor([&] { return listed_sessions.rowCount() == 3; }, 20000));
  ChoiceComboBox& share_box = *form.OpenFilesShareBox();
  share_box.setCurrentIndex(share_box.findText(QStringLiteral("public")));
  const QAbstractItemModel& listed_files = *form.OpenFilesList()->model();
  EXPECT_TRUE(QTest::qWaitFor([&] { return listed_files.rowCount() == 2; }, 20000));

  EXPECT_EQ(Sorted(ListedRows(listed_sessions)), Sorted(TabSeparatedRows(sessions.output)));
  EXPECT_EQ(Sorted(ListedRows(listed_files)), Sorted(TabSeparatedRows(files.output)));
  EXPECT_EQ(form.ServerStatus()->text(), QString());
  const QString picture = QString::fromStdString(BuildDir() + "/tests/app/sessions_and_files_page.png");
  EXPECT_TRUE(form.grab().save(picture)) << picture.toStdString();
}
