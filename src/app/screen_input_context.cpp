#include "app/screen_input_context.h"

#include "app/main_menu.h"
#include "game/screen_geometry.h"
#include "highscores/high_score_ranking.h"

namespace mw {
namespace {

InputContext MenuContext(const LineBands& lines) {
  InputContext context;
  context.screen = InputContext::Screen::kMenu;
  context.lines = lines;
  return context;
}

InputContext PlayingContext() {
  InputContext context;
  context.screen = InputContext::Screen::kGame;
  context.calm_left = kScrollLeftBelow;
  context.calm_right = kScrollRightAbove;
  return context;
}

InputContext HighScoreContext(const HighScoreVisit& visit) {
  InputContext context;
  if (visit.entry_row == kNoEntryRow) return context;
  context.screen = InputContext::Screen::kNameEntry;
  context.name = visit.table[static_cast<std::size_t>(visit.entry_row)].entry_name.Text();
  if (!context.name.empty() && context.name.back() == kEditMark) context.name.pop_back();
  context.name_limit = kMaxTypedName;
  return context;
}

}  // namespace

InputContext InputContextOf(const std::vector<Screen>& screens) {
  for (auto screen = screens.rbegin(); screen != screens.rend(); ++screen) {
    if (std::holds_alternative<ReleaseWait>(*screen) ||
        std::holds_alternative<LostDisplayWait>(*screen)) {
      continue;
    }
    if (std::holds_alternative<SettingsScreen>(*screen)) return MenuContext(kSettingsLineBands);
    if (std::holds_alternative<GameScreen>(*screen)) return PlayingContext();
    if (const auto* scores = std::get_if<HighScoreScreen>(&*screen)) {
      return HighScoreContext(scores->visit);
    }
    return InputContext{};  // a message box
  }
  return MenuContext(kMenuLineBands);
}

}  // namespace mw
