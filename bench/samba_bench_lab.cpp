#include "samba_bench_lab.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/console_command.h"
#include "tests/app/samba_lab.h"

namespace {

constexpr int kExtraShares = 30;

std::string LabScript() { return std::string(SHAREMON_SOURCE_DIR) + "/tests/app/samba_lab.sh"; }

platform::RunResult RunLab(std::vector<std::string> arguments, std::vector<std::string> environment = {}) {
  arguments.insert(arguments.begin(), LabScript());
  platform::ConsoleCommand command("samba_lab.sh", std::move(arguments));
  command.extra_environment = std::move(environment);
  return platform::RunCommand(command, "/", {std::chrono::seconds(60), platform::kConsoleOutputLimit, nullptr});
}

}  // namespace

SambaBenchLab& SambaBenchLab::Instance() {
  static SambaBenchLab lab;
  return lab;
}

SambaBenchLab::SambaBenchLab() {
  if (geteuid() != 0) {
    why_not_ = "needs root: smbd serves real users and smbstatus answers only root";
    return;
  }
  if (!samba_lab::HasProgram("smbd")) {
    why_not_ = "samba is not installed";
    return;
  }
  directory_ = (std::filesystem::temp_directory_path() / ("sharemon_bench_samba_" + std::to_string(getpid()))).string();
  config_file_ = directory_ + "/smb.conf";
  const auto start = RunLab({"start", directory_, std::to_string(samba_lab::FreePort())},
                            {"LAB_EXTRA_SHARES=" + std::to_string(kExtraShares)});
  running_ = start.outcome == platform::RunOutcome::kCompleted && start.exit_code == 0;
  if (!running_) why_not_ = "the Samba lab did not start: " + start.output;
  setenv("SHAREMON_SMB_CONF", config_file_.c_str(), 1);
}

SambaBenchLab::~SambaBenchLab() {
  if (!directory_.empty()) RunLab({"stop", directory_});
}

const std::string& SambaBenchLab::ServiceSocket() {
  if (!service_tried_ && running_) {
    service_tried_ = true;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const auto start = RunLab({"service", directory_, (executable / "sharemond").string(), "root"});
    if (start.outcome == platform::RunOutcome::kCompleted && start.exit_code == 0) service_socket_ = directory_ + "/status.sock";
  }
  return service_socket_;
}

bool SambaBenchLab::HoldFiles(int count) {
  if (files_held_ < 0 && running_) {
    const auto held = RunLab({"files", directory_, "held", "public", std::to_string(count)});
    files_held_ = held.outcome == platform::RunOutcome::kCompleted && held.exit_code == 0 ? count : 0;
  }
  return files_held_ == count;
}

std::vector<std::string> SambaBenchLab::Shares(int count) const {
  std::vector<std::string> shares;
  for (int i = 1; i <= count && i <= kExtraShares; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "bench%02d", i);
    shares.emplace_back(name);
  }
  return shares;
}
