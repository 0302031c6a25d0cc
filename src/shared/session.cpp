#include "shared/session.h"

#include "errors/runtime_error.h"

namespace mw {

void ChooseDefaultSettings(Session& session) {
  session.setting_choice = Session{}.setting_choice;
}

const SettingEntry& ChosenSetting(const Session& session, int setting) {
  if (setting < 1 || setting > 4) throw IndexOutOfRange();
  const int choice = session.setting_choice[static_cast<std::size_t>(setting)];
  if (choice < 0 || choice > 3) throw IndexOutOfRange();
  return kSettingTable[static_cast<std::size_t>(choice)][static_cast<std::size_t>(setting)];
}

}  // namespace mw
