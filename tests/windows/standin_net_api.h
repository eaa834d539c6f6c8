// The stand-in NETAPI32.DLL as a test steers it: its behaviour set and what it counted read
// through its extra exports (standins.h).
#pragma once

#include <windows.h>

#include "standins.h"

namespace standin {

// Holds its own reference to the library, so that what it counted outlives the unloading
// by the code under test.
class StandinNetApi {
 public:
  StandinNetApi() : library_(LoadLibraryA("NETAPI32.DLL")) {
    behave_ = reinterpret_cast<BehaveFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_, kBehaveExport)));
    read_counts_ = reinterpret_cast<ReadCountsFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_, kReadCountsExport)));
  }
  ~StandinNetApi() { FreeLibrary(library_); }

  // False when the system's own library was loaded instead.
  bool Loaded() const { return behave_ != nullptr && read_counts_ != nullptr; }
  void Behave(const NetApiBehaviour& behaviour) const { behave_(&behaviour); }
  NetApiCounts Counts() const {
    NetApiCounts counts;
    read_counts_(&counts);
    return counts;
  }

 private:
  HMODULE library_;
  BehaveFunction behave_ = nullptr;
  ReadCountsFunction read_counts_ = nullptr;
};

}  // namespace standin
