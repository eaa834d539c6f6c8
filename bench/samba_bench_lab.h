// A private Samba server for the benchmarks that need one: the end-to-end test's lab
// (tests/app/samba_lab.sh) with 30 extra guest shares, started once per run on a free port of
// 127.0.0.1 and stopped when the program ends. Only root can run it (smbd serves users and
// smbstatus answers only root); elsewhere a case skips itself with the reason.
#pragma once

#include <string>
#include <vector>

class SambaBenchLab {
 public:
  // The lab of this run, started on first use.
  static SambaBenchLab& Instance();

  bool Running() const { return running_; }
  const std::string& WhyNot() const { return why_not_; }
  const std::string& ConfigFile() const { return config_file_; }
  // The first `count` of the extra shares (UTF-8 names).
  std::vector<std::string> Shares(int count) const;
  // The status service (sharemond beside the benchmark) on a socket of the lab, started on
  // first use; its path, or "" when it did not start.
  const std::string& ServiceSocket();
  // `count` files of the share "public" held open by one guest client, started on first use;
  // false when they could not be.
  bool HoldFiles(int count);

 private:
  SambaBenchLab();
  ~SambaBenchLab();

  std::string directory_;
  std::string config_file_;
  std::string service_socket_;
  bool service_tried_ = false;
  int files_held_ = -1;  // -1: not tried
  bool running_ = false;
  std::string why_not_;
};
