#include "platform/user_advice.h"

#include "platform/contracts.h"

namespace platform {

#ifdef _WIN32

// Windows shows a share's sessions to the groups that administer the server only.
std::string AccessDeniedAdvice() {
  return "Число пользователей не прочитано: нет прав на чтение подключений к общим ресурсам, в таблицу "
         "записывается 0. Подключения к общим ресурсам может читать только администратор: запустите "
         "программу от имени администратора или от имени члена группы «Администраторы» или «Операторы "
         "сервера».";
}

#else

// Samba shows its connections to root only; the status service reads them for its group.
std::string AccessDeniedAdvice() {
  return std::string("Число пользователей не прочитано: нет прав на чтение подключений сервера Samba, в таблицу "
                     "записывается 0. Запустите службу состояния (sudo systemctl enable --now sharemond) и "
                     "добавьте пользователя в её группу (sudo usermod -aG ") +
         contracts::kStatusGroup + " ИМЯ), затем войдите в систему заново.";
}

#endif

}  // namespace platform
