// The access-denied advice names what the system it runs on offers, and nothing of the other
// system. The same test runs on Linux and, under Wine, on Windows.
#include "platform/user_advice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/contracts.h"

namespace {

#ifdef _WIN32
const std::vector<std::string> kNamed = {"от имени администратора", "«Администраторы»", "«Операторы сервера»"};
const std::vector<std::string> kNeverNamed = {"sudo", "systemctl", "usermod", "sharemond", "Samba"};
#else
const std::vector<std::string> kNamed = {"sudo systemctl enable --now sharemond",
                                         std::string("sudo usermod -aG ") + platform::contracts::kStatusGroup + " ИМЯ"};
const std::vector<std::string> kNeverNamed = {"администратор", "Операторы сервера"};
#endif

TEST(user_advice_test, the_access_denied_advice_names_only_what_this_system_offers) {
  const std::string advice = platform::AccessDeniedAdvice();
  EXPECT_EQ(advice.rfind("Число пользователей не прочитано", 0), 0u) << advice;
  EXPECT_NE(advice.find("записывается 0"), std::string::npos) << advice;
  for (const std::string& named : kNamed) EXPECT_NE(advice.find(named), std::string::npos) << named;
  for (const std::string& never : kNeverNamed) EXPECT_EQ(advice.find(never), std::string::npos) << never;
}

}  // namespace
