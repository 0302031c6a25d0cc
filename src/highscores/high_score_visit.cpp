#include "highscores/high_score_visit.h"

#include <string>

namespace mw {
namespace {

std::int32_t GameSeconds(const Session& session) {
  return SettingValue(session, kGameTime);
}

}  // namespace

HighScoreVisit OpenHighScoreVisit(Outside& outside, Session& session, const GuardedNumber& holder,
                                  std::string_view prefix, Outbox& out) {
  const std::int32_t normalized = NormalizedScore(holder.Value(), GameSeconds(session));
  if (holder.Tampered()) session.cheat_flag = true;
  const std::string dir = HighScoreDir(outside, prefix);
  HighScoreVisit visit;
  visit.file = ReadHighScoreFile(outside, session, visit.table, dir, out);
  visit.table[kNoEntryRow].entry_name.SetText(std::string(1, kEditMark));
  visit.entry_row = InsertScore(visit.table, normalized);
  return visit;
}

HighScorePass ReadHighScoreInput(HighScoreVisit& visit, const InputFrame& input) {
  // Every character typed since the last pass counts, in order, so a fast
  // typist loses none.
  GuardedText& name = visit.table[static_cast<std::size_t>(visit.entry_row)].entry_name;
  for (const char c : input.typed) ApplyTypedCharacter(static_cast<std::uint8_t>(c), name);

  if (input.close_requested) return HighScorePass::kClose;
  // A key still held when the screen opened must be let go before it counts.
  const bool leave_key_down = input.AnyDown(kHighScoreLeaveKeys);
  if (!leave_key_down) visit.leave_latched = false;
  if (leave_key_down && !visit.leave_latched) return HighScorePass::kLeave;
  visit.mouse = input.mouse;
  return HighScorePass::kStay;
}

void FinishHighScoreVisit(Outside& outside, Session& session, HighScoreVisit& visit, Outbox& out) {
  GuardedText& name = visit.table[static_cast<std::size_t>(visit.entry_row)].entry_name;
  std::string text = name.Text();
  if (!text.empty()) text.pop_back();
  name.SetText(text);
  // A table edited from outside is never saved, in this visit or a later one.
  if (Tampered(visit.table)) session.cheat_flag = true;
  WriteHighScoreFile(outside, session, visit.table, visit.file, out);
}

void DrawHighScores(const Session& session, const HighScoreVisit& visit, ShellPictures& pictures) {
  Surface& back = pictures.back_buffer;
  back.BlitImage(kShellScreenOrigin.x, kShellScreenOrigin.y, pictures.high_score_background, Rect{},
                 false);
  const std::int32_t seconds = GameSeconds(session);
  for (std::size_t row = 1; row <= kHighScoreRanks; ++row) {
    const std::int32_t y = 100 + 50 * static_cast<std::int32_t>(row);
    const TextStyle style =
        ShellTextStyle(LineColour(visit.pulse, static_cast<std::size_t>(visit.entry_row) == row));
    back.DrawText(50, y, visit.table[row].entry_name.Text(), style);
    back.DrawText(520, y, DisplayedScore(visit.table[row].entry_score.Value(), seconds), style);
  }
  const std::int32_t below = visit.table[kNoEntryRow].entry_score.Value();
  if (visit.entry_row == kNoEntryRow && below > 0) {
    back.DrawText(400, 400, DisplayedScore(below, seconds),
                  ShellTextStyle(visit.pulse.highlight_color));
  }
  back.BlitImage(visit.mouse.x, visit.mouse.y, pictures.cursor_image, Rect{}, true);
}

}  // namespace mw
