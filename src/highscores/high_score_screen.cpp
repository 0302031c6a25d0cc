#include "highscores/high_score_screen.h"

#include <string>

#include "highscores/high_score_visit.h"
#include "shared/input_waits.h"

namespace mw {
namespace {

std::int32_t GameSeconds(const Session& session) {
  return SettingValue(session, kGameTime);
}

bool AnyLeaveKeyDown(const InputFrame& input) {
  return input.Down(vk::kReturn) || input.Down(vk::kLeftButton) || input.Down(vk::kEscape);
}

void DrawHighScores(const Session& session, DisplayState& display, const HighScoreVisit& visit,
                    Point mouse) {
  Surface& back = display.back_buffer;
  back.BlitImage(kShellScreenOrigin.x, kShellScreenOrigin.y, display.high_score_background, Rect{},
                 false);
  const std::int32_t seconds = GameSeconds(session);
  for (std::size_t row = 1; row <= kHighScoreRanks; ++row) {
    const std::int32_t y = 100 + 50 * static_cast<std::int32_t>(row);
    back.SetTextColor(LineColour(visit.pulse, static_cast<std::size_t>(visit.entry_row) == row));
    back.DrawTextAt(50, y, visit.table[row].entry_name.Text());
    back.DrawTextAt(520, y, DisplayedScore(visit.table[row].entry_score.Value(), seconds));
  }
  const std::int32_t below = visit.table[kNoEntryRow].entry_score.Value();
  if (visit.entry_row == kNoEntryRow && below > 0) {
    back.SetTextColor(visit.pulse.highlight_color);
    back.DrawTextAt(400, 400, DisplayedScore(below, seconds));
  }
  back.BlitImage(mouse.x, mouse.y, display.cursor_image, Rect{}, true);
}

}  // namespace

HighScoreVisit OpenHighScoreVisit(Platform& platform, Session& session, const GuardedNumber& holder,
                                  std::string_view prefix) {
  const std::int32_t normalized = NormalizedScore(holder.Value(), GameSeconds(session));
  if (holder.Tampered()) session.cheat_flag = true;
  const std::string dir = HighScoreDir(platform, prefix);
  HighScoreVisit visit;
  visit.table = HighScoreTable{};
  visit.file = ReadHighScoreFile(platform, session, visit.table, dir);
  visit.table[kNoEntryRow].entry_name.SetText(std::string(1, kEditMark));
  visit.entry_row = InsertScore(visit.table, normalized);
  return visit;
}

PassResult RunHighScorePass(Platform& platform, const Session& session, DisplayState& display,
                            HighScoreVisit& visit, InputFrame input) {
  StepHighlight(visit.pulse);
  if (WaitOutLostDisplay(platform, input)) {
    platform.RestoreSurfaces();
    LoadMenuImages(platform, display);
  }
  // Every character typed since the last pass counts, in order, so a fast
  // typist loses none.
  GuardedText& name = visit.table[static_cast<std::size_t>(visit.entry_row)].entry_name;
  for (const char c : input.typed) ApplyTypedCharacter(static_cast<std::uint8_t>(c), name);

  if (input.close_requested) return PassResult::kClose;
  // A key still held when the screen opened must be let go before it counts.
  const bool leave_key_down = AnyLeaveKeyDown(input);
  if (!leave_key_down) visit.leave_latched = false;
  if (leave_key_down && !visit.leave_latched) return PassResult::kLeave;

  DrawHighScores(session, display, visit, input.mouse);
  platform.Flip(display.back_buffer, kShellVisibleRect);
  return PassResult::kStay;
}

ScreenExit LeaveHighScoreVisit(Platform& platform, Session& session, HighScoreVisit& visit,
                               PassResult how) {
  bool closed = how == PassResult::kClose;
  if (!closed) {
    closed = WaitForRelease(platform, {vk::kReturn, vk::kLeftButton, vk::kEscape}).close_requested;
  }
  GuardedText& name = visit.table[static_cast<std::size_t>(visit.entry_row)].entry_name;
  std::string text = name.Text();
  if (!text.empty()) text.pop_back();
  name.SetText(text);
  // A table edited from outside is never saved, in this visit or a later one.
  if (Tampered(visit.table)) session.cheat_flag = true;
  WriteHighScoreFile(platform, session, visit.table, visit.file);
  return closed ? ScreenExit::kCloseRequested : ScreenExit::kBack;
}

ScreenExit ShowHighScores(Platform& platform, Session& session, DisplayState& display,
                          const GuardedNumber& holder, std::string_view prefix) {
  HighScoreVisit visit = OpenHighScoreVisit(platform, session, holder, prefix);
  platform.Events().Screen("highscores");
  PassResult outcome = PassResult::kStay;
  while (outcome == PassResult::kStay) {
    outcome = RunHighScorePass(platform, session, display, visit, platform.ReadInput());
  }
  return LeaveHighScoreVisit(platform, session, visit, outcome);
}

}  // namespace mw
