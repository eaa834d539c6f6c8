// A large status report of "smbstatus --json" for tests and benchmarks, made together with the
// connections a reader must take from it. Every tree connection has its own session, the
// tree connections are listed in the reverse order of their sessions (so only a join by
// session id pairs them), and they are spread over four shares.
#pragma once

#include <string>

#include "platform/netshare/share_connections.h"

struct GeneratedStatus {
  std::string json;
  netshare::ConnectionsByService connections;  // by service, in report order
};

// `samba_records`: every member Samba 4.17 prints (about 790 bytes per connection); else only
// the members the reader takes (about 160 bytes, so that 100 000 connections stay within
// the 16 MiB tool output limit).
inline GeneratedStatus GenerateSmbstatusJson(int connections, bool samba_records) {
  const auto session = [&](int i) {
    const std::string id = std::to_string(3000000000LL + i);
    std::string record = "\"" + id + "\": {";
    if (samba_records) {
      record += "\"session_id\": \"" + id + "\", \"server_id\": {\"pid\": \"" + std::to_string(20000 + i) +
                "\", \"task_id\": \"0\", \"vnn\": \"4294967295\", \"unique_id\": \"10503754816460738034\"}, "
                "\"uid\": 1001, \"gid\": 100, ";
    }
    record += "\"username\": \"user" + std::to_string(i % 500) + "\", ";
    if (samba_records) record += "\"groupname\": \"users\", ";
    record += "\"remote_machine\": \"10.0." + std::to_string(i / 250 % 250) + "." + std::to_string(i % 250) + "\"";
    if (samba_records) {
      record += ", \"hostname\": \"ipv4:10.0.0.1:40088\", \"session_dialect\": \"SMB3_11\", \"encryption\": "
                "{\"cipher\": \"-\", \"degree\": \"none\"}, \"signing\": {\"cipher\": \"AES-128-GMAC\", \"degree\": "
                "\"partial\"}";
    }
    return record + "}";
  };
  const auto tree_connection = [&](int i) {
    const std::string id = std::to_string(1000000000 + i);
    std::string record = "\"" + id + "\": {\"service\": \"share " + std::to_string(i % 4) + "\", ";
    if (samba_records) record += "\"tcon_id\": \"" + id + "\", ";
    record += "\"session_id\": \"" + std::to_string(3000000000LL + i) + "\", \"machine\": \"10.0.0.1\"";
    if (samba_records) {
      record += ", \"connected_at\": \"2026-12-08T19:56:44.880242+00:00\", \"encryption\": {\"cipher\": \"-\", "
                "\"degree\": \"none\"}, \"signing\": {\"cipher\": \"-\", \"degree\": \"none\"}";
    }
    return record + "}";
  };
  GeneratedStatus status;
  status.json = "{\"timestamp\": \"2026-12-08T19:56:45.482629+0000\", \"version\": \"4.17.12-Debian\", \"sessions\": {";
  for (int i = 0; i < connections; ++i) status.json += (i == 0 ? "" : ", ") + session(i);
  status.json += "}, \"tcons\": {";
  for (int i = connections - 1; i >= 0; --i) {
    status.json += (i == connections - 1 ? "" : ", ") + tree_connection(i);
    status.connections["share " + std::to_string(i % 4)].push_back(
        {"user" + std::to_string(i % 500), "10.0." + std::to_string(i / 250 % 250) + "." + std::to_string(i % 250)});
  }
  status.json += "}, \"open_files\": {}}";
  return status;
}
