// The probe's cut and count on any report text. Properties: the users section is a piece of
// the report; every counted name is at least as long as the shortest user name, holds no
// space, and stands in the section in report order, each followed by a space; the count is
// the number of names.
#include <cstdint>

#include "core/share_probe.h"
#include "fuzz/property.h"
#include "platform/share_report_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const rtl::Text report(reinterpret_cast<const char*>(data), size);
  const rtl::Text section = core::CutUsersSection(report);
  fuzz::Require(section.empty() || report.find(section) != rtl::Text::npos, "the section is a piece of the report");
  const core::ProbeResult result = core::ProbeResultOfReport(report);
  fuzz::Require(result.count == static_cast<std::int32_t>(result.users.size()), "the count is the number of names");
  fuzz::Require(result.HasReport(), "a report is a report");
  fuzz::Require(!result.Counted() || result.error.empty(), "a real count has no error text");
  fuzz::Require(result.error.size() <= 500, "the reason of a report without a real count is short");
  std::size_t at = 0;
  for (const rtl::Text& name : result.users) {
    fuzz::Require(name.size() >= platform::share_report::kShortestUserName, "a name is long enough");
    fuzz::Require(name.find(' ') == rtl::Text::npos, "a name holds no space");
    at = section.find(name + ' ', at);
    fuzz::Require(at != rtl::Text::npos, "each name stands in the section, in order, ended by a space");
    at += name.size() + 1;
  }
  return 0;
}
