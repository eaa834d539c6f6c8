// End to end with real parts only: a private Samba server (tests/app/samba_lab.sh) with live
// smbclient sessions, "sharemon --poll" probing it through the real netshare and reading its
// sessions and open files through the real status service, and a private Prometheus
// (/usr/bin/prometheus, never the system service) scraping sharemon every second. The counts
// are read back through Prometheus' own query API.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "platform/console_command.h"
#include "rtl/text.h"
#include "tests/support/http_client.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/test_process.h"

namespace {

using namespace std::chrono_literals;
using Counts = std::map<std::string, std::string>;

std::string LabScript() { return std::string(std::getenv("SHAREMON_SOURCE_DIR")) + "/tests/app/samba_lab.sh"; }

platform::ConsoleResult RunProgram(std::vector<std::string> arguments) {
  return platform::RunConsoleCommand({arguments[0], std::move(arguments)}, "/", 60s);
}

bool HasProgram(const std::string& name) {
  return RunProgram({"sh", "-c", "command -v " + name + " >/dev/null"}).exit_code == 0;
}

class prometheus_end_to_end_test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "smbd serves real users and smbstatus answers only when run as root";
    for (const char* program : {"smbd", "smbclient", "prometheus"}) {
      if (!HasProgram(program)) GTEST_SKIP() << program << " is not installed";
    }
    lab_ = (directory_.Path() / "lab").string();
    const std::string port = std::to_string(FreeLocalPort());
    user_ = "shm" + port + "p";
    lab_started_ = true;
    const auto start = RunProgram({LabScript(), "start", lab_, port, user_});
    ASSERT_EQ(start.exit_code, 0u) << start.output;
  }

  void TearDown() override {
    prometheus_.reset();
    sharemon_.reset();
    if (!lab_started_) return;
    const auto stop = RunProgram({LabScript(), "stop", lab_});
    EXPECT_EQ(stop.exit_code, 0u) << stop.output;
  }

  void Session(const char* command, const std::string& name, const std::string& share = "", const std::string& user = "") {
    std::vector<std::string> arguments = {LabScript(), command, lab_, name};
    if (!share.empty()) arguments.insert(arguments.end(), {share, user});
    const auto result = RunProgram(arguments);
    ASSERT_EQ(result.exit_code, 0u) << result.output;
  }

  void StartSharemon() {
    TemporaryDirectory::WriteBytes(directory_.File("splist.txt"), rtl::Windows1251FromUtf8("public\r\nОтчеты\r\nteam docs\r\n"));
    std::filesystem::create_directory(directory_.Path() / "sharemon");
    sharemon_ = std::make_unique<TestProcess>(
        BuildDir() + "/sharemon",
        std::vector<std::string>{"--watch", directory_.File("splist.txt"), "--out", (directory_.Path() / "sharemon").string(),
                                 "--interval", "1", "--metrics", "127.0.0.1:0"},
        std::vector<std::string>{"SHAREMON_SMB_CONF=" + lab_ + "/smb.conf", "SHAREMON_TEST_INTERVAL_MS=500",
                                 "SHAREMON_STATUS_SOCKET=" + lab_ + "/status.sock"},
        directory_.Path() / "sharemon");
    metrics_port_ = sharemon_->MetricsPort();
  }

  void StartPrometheus() {
    const auto home = directory_.Path() / "prometheus";
    std::filesystem::create_directory(home);
    TemporaryDirectory::WriteBytes((home / "prometheus.yml").string(),
                                   "global:\n"
                                   "  scrape_interval: 1s\n"
                                   "  evaluation_interval: 1s\n"
                                   "scrape_configs:\n"
                                   "  - job_name: sharemon\n"
                                   "    scrape_interval: 1s\n"
                                   "    scrape_timeout: 1s\n"
                                   "    static_configs:\n"
                                   "      - targets: ['127.0.0.1:" + std::to_string(metrics_port_) + "']\n");
    prometheus_port_ = FreeLocalPort();
    prometheus_ = std::make_unique<TestProcess>(
        "/usr/bin/prometheus",
        std::vector<std::string>{"--config.file=" + (home / "prometheus.yml").string(),
                                 "--storage.tsdb.path=" + (home / "data").string(),
                                 "--web.listen-address=127.0.0.1:" + std::to_string(prometheus_port_)},
        std::vector<std::string>{}, home, "");
  }

  // The latest value of the query's series by their "share" label, as Prometheus answers.
  Counts Query(const std::string& promql) {
    const HttpResponse response =
        HttpGet(prometheus_port_, "/api/v1/query?query=" + QUrl::toPercentEncoding(QString::fromStdString(promql)).toStdString());
    Counts counts;
    if (response.status != 200) return counts;
    const QJsonObject answer = QJsonDocument::fromJson(QByteArray::fromStdString(response.body)).object();
    for (const auto& series : answer["data"].toObject()["result"].toArray()) {
      const QJsonObject object = series.toObject();
      counts[object["metric"].toObject()["share"].toString().toStdString()] =
          object["value"].toArray().at(1).toString().toStdString();
    }
    return counts;
  }

  // Asks until the answer is `expected` or the time is up; the last answer.
  Counts QueryUntil(const std::string& promql, const Counts& expected, std::chrono::seconds within = 90s) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    Counts counts;
    while (std::chrono::steady_clock::now() < deadline) {
      if ((counts = Query(promql)) == expected) break;
      std::this_thread::sleep_for(250ms);
    }
    return counts;
  }

  TemporaryDirectory directory_;
  std::string lab_, user_;
  bool lab_started_ = false;
  std::unique_ptr<TestProcess> sharemon_, prometheus_;
  int metrics_port_ = 0;
  int prometheus_port_ = 0;
};

TEST_F(prometheus_end_to_end_test, prometheus_sees_the_live_counts_of_every_watched_share) {
  Session("open", "s1", "Отчеты", user_);
  Session("open", "s2", "Отчеты", "-");
  Session("open", "s3", "team docs", "-");
  const std::string held = lab_ + "/shares/s2/held.txt";
  TemporaryDirectory::WriteBytes(held, "held\n");
  std::filesystem::permissions(held, std::filesystem::perms(0666));
  for (const std::vector<std::string>& lab : {std::vector<std::string>{"hold", lab_, "s1", "held.txt"},
                                              {"service", lab_, BuildDir() + "/sharemond", "root"}}) {
    std::vector<std::string> arguments{LabScript()};
    arguments.insert(arguments.end(), lab.begin(), lab.end());
    const auto result = RunProgram(arguments);
    ASSERT_EQ(result.exit_code, 0u) << result.output;
  }
  StartSharemon();
  ASSERT_NE(metrics_port_, 0) << sharemon_->Err();
  StartPrometheus();

  const Counts live = {{"public", "0"}, {"Отчеты", "2"}, {"team docs", "1"}};
  EXPECT_EQ(QueryUntil("sharemon_share_users", live), live) << sharemon_->Err() << prometheus_->Err();
  EXPECT_EQ(QueryUntil("sum by (share) (sharemon_share_probe_failures_total)", {{"public", "0"}, {"Отчеты", "0"}, {"team docs", "0"}}),
            (Counts{{"public", "0"}, {"Отчеты", "0"}, {"team docs", "0"}}));

  const Counts open_files = {{"public", "0"}, {"Отчеты", "1"}, {"team docs", "0"}};
  EXPECT_EQ(QueryUntil("sharemon_share_open_files", open_files), open_files) << sharemon_->Err();
  EXPECT_EQ(QueryUntil("sharemon_open_files", {{"", "1"}}), (Counts{{"", "1"}}));
  EXPECT_EQ(QueryUntil("sum(sharemon_sessions{encryption=\"none\"})", {{"", "3"}}), (Counts{{"", "3"}}));
  const HttpResponse page = HttpGet(metrics_port_, "/metrics");
  const auto check = platform::RunConsoleCommand(
      {"promtool", {"sh", "-c", "printf '%s' \"$1\" | promtool check metrics", "sh", page.body}}, "/", 60s);
  EXPECT_EQ(check.exit_code, 0u) << check.output;
  EXPECT_NE(page.body.find("sharemon_sessions{dialect=\"SMB3_11\",encryption=\"none\"} 3"), std::string::npos)
      << page.body;

  Session("close", "s2");
  const Counts after = {{"public", "0"}, {"Отчеты", "1"}, {"team docs", "1"}};
  EXPECT_EQ(QueryUntil("sharemon_share_users", after), after) << sharemon_->Err();

  // Prometheus had no trouble with any scrape, and sharemon stops cleanly with its file written.
  EXPECT_EQ(QueryUntil("up{job=\"sharemon\"}", {{"", "1"}}), (Counts{{"", "1"}}));
  kill(sharemon_->Pid(), SIGTERM);
  EXPECT_EQ(sharemon_->Wait(30s), 0) << sharemon_->Err();
  EXPECT_EQ(sharemon_->Out(), "");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory_.Path() / "sharemon")) {
    files += entry.path().filename().string().rfind("list_", 0) == 0;
  }
  EXPECT_EQ(files, 1);
}

}  // namespace
