#include "shared/session.h"

#include "platform/cp1252.h"
#include "platform/runtime_error.h"
#include "shared/numbers.h"

namespace mw {

void InitSettingsTables(Session& session) {
  auto set = [&](int choice, int setting, const char* utf8_label, std::int32_t value) {
    session.SettingTable[static_cast<std::size_t>(choice)][static_cast<std::size_t>(setting)] = {
        Utf8ToCp1252(utf8_label), value};
  };
  set(0, kGullCount, "wenige", 5);
  set(1, kGullCount, "mittel", 25);
  set(2, kGullCount, "viele", 100);
  set(0, kGameSpeed, "langsam", 200);
  set(1, kGameSpeed, "mittel", 100);
  set(2, kGameSpeed, "schnell", 50);
  set(3, kGameSpeed, "turbo", 1);
  set(0, kMpSpeed, "langsam", 20);
  set(1, kMpSpeed, "mittel", 10);
  set(2, kMpSpeed, "schnell", 5);
  set(3, kMpSpeed, "turbo", 1);
  set(0, kGameTime, "1:30", 90);
  set(1, kGameTime, "3:00", 180);
  set(2, kGameTime, "6:00", 360);
  set(3, kGameTime, "12:00", 720);
  session.SettingChoice = {0, 1, 1, 2, 0};
}

const SettingEntry& ChosenSetting(const Session& session, int setting) {
  if (setting < 1 || setting > 4) throw IndexOutOfRange();
  const int choice = session.SettingChoice[static_cast<std::size_t>(setting)];
  if (choice < 0 || choice > 3) throw IndexOutOfRange();
  return session.SettingTable[static_cast<std::size_t>(choice)][static_cast<std::size_t>(setting)];
}

}  // namespace mw
