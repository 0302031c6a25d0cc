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
  Surface& back = display.BackBuffer;
  back.BlitImage(16, 16, display.HighScoreBackground, Rect{}, false);
  const std::int32_t seconds = GameSeconds(session);
  for (std::size_t row = 1; row <= kHighScoreRanks; ++row) {
    const std::int32_t y = 100 + 50 * static_cast<std::int32_t>(row);
    back.SetTextColor(LineColour(visit.Pulse, static_cast<std::size_t>(visit.EntryRow) == row));
    back.DrawTextAt(50, y, visit.table[row].EntryName.Text());
    back.DrawTextAt(520, y, DisplayedScore(visit.table[row].EntryScore.Value(), seconds));
  }
  const std::int32_t below = visit.table[kNoEntryRow].EntryScore.Value();
  if (visit.EntryRow == kNoEntryRow && below > 0) {
    back.SetTextColor(visit.Pulse.HighlightColor);
    back.DrawTextAt(400, 400, DisplayedScore(below, seconds));
  }
  back.BlitImage(mouse.x, mouse.y, display.CursorImage, Rect{}, true);
}

}  // namespace

HighScoreVisit OpenHighScoreVisit(Platform& platform, Session& session, const GuardedNumber& holder,
                                  std::string_view prefix) {
  const std::int32_t normalized = NormalizedScore(holder.Value(), GameSeconds(session));
  if (holder.Tampered()) session.CheatFlag = true;
  const std::string dir = HighScoreDir(platform, prefix);
  HighScoreVisit visit;
  visit.table = HighScoreTable{};
  visit.file = ReadHighScoreFile(platform, session, visit.table, dir);
  visit.table[kNoEntryRow].EntryName.SetText(std::string(1, kEditMark));
  visit.EntryRow = InsertScore(visit.table, normalized);
  return visit;
}

PassResult RunHighScorePass(Platform& platform, const Session& session, DisplayState& display,
                            HighScoreVisit& visit, InputFrame input) {
  StepHighlight(visit.Pulse);
  if (WaitOutLostDisplay(platform, input)) {
    platform.RestoreSurfaces();
    LoadMenuImages(platform, display);
  }
  // Every character typed since the last pass counts, in order, so a fast
  // typist loses none.
  GuardedText& name = visit.table[static_cast<std::size_t>(visit.EntryRow)].EntryName;
  for (const char c : input.typed) ApplyTypedCharacter(static_cast<std::uint8_t>(c), name);

  if (input.close_requested) return PassResult::kClose;
  // A key still held when the screen opened must be let go before it counts.
  const bool leave_key_down = AnyLeaveKeyDown(input);
  if (!leave_key_down) visit.LeaveLatched = false;
  if (leave_key_down && !visit.LeaveLatched) return PassResult::kLeave;

  DrawHighScores(session, display, visit, input.mouse);
  platform.Flip(display.BackBuffer, kShellVisibleRect);
  return PassResult::kStay;
}

ScreenExit LeaveHighScoreVisit(Platform& platform, Session& session, HighScoreVisit& visit,
                               PassResult how) {
  bool closed = how == PassResult::kClose;
  if (!closed) {
    closed = WaitForRelease(platform, {vk::kReturn, vk::kLeftButton, vk::kEscape}).close_requested;
  }
  GuardedText& name = visit.table[static_cast<std::size_t>(visit.EntryRow)].EntryName;
  std::string text = name.Text();
  if (!text.empty()) text.pop_back();
  name.SetText(text);
  // A table edited from outside is never saved, in this visit or a later one.
  if (Tampered(visit.table)) session.CheatFlag = true;
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
