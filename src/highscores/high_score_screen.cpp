#include "highscores/high_score_screen.h"

#include <array>
#include <string>

#include "highscores/high_score_visit.h"

namespace mw {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr std::array<int, 3> kLeaveKeys = {vk::kReturn, vk::kLeftButton, vk::kEscape};

std::int32_t GameSeconds(const Modul& modul) {
  return SettingValue(modul, kGameTime);
}

bool AnyLeaveKeyDown(Platform& platform) {
  bool any = false;
  for (const int key : kLeaveKeys) any = platform.KeyDown(key) || any;  // poll all three
  return any;
}

void PulseHighlight(HighScoreVisit& visit) {
  if (visit.highlight == Rgb(255, 254, 0) || visit.highlight == Rgb(0, 254, 0)) {
    visit.highlight_step = static_cast<std::int16_t>(-visit.highlight_step);
  }
  visit.highlight = Rgb(RedOf(visit.highlight) + static_cast<std::uint32_t>(visit.highlight_step),
                        GreenOf(visit.highlight), BlueOf(visit.highlight));
}

// Waits while another program has the display, then brings the images back and
// forgets the clicks made meanwhile.
void RecoverLostDisplay(Platform& platform, DisplayState& display) {
  if (!WaitOutLostDisplay(platform)) return;
  platform.RestoreSurfaces();
  LoadMenuImages(platform, display);
  ForgetConfirmPresses(platform);
}

void DrawHighScores(Platform& platform, const Modul& modul, DisplayState& display,
                    const HighScoreVisit& visit) {
  Surface& back = display.BackBuffer;
  back.BlitImage(16, 16, display.HighScoreBackground, Rect{}, false);
  const std::int32_t seconds = GameSeconds(modul);
  for (std::size_t row = 1; row <= kHighScoreRanks; ++row) {
    const std::int32_t y = 100 + 50 * static_cast<std::int32_t>(row);
    back.SetTextColor(static_cast<std::size_t>(visit.EntryRow) == row ? visit.highlight : kWhite);
    back.DrawTextAt(50, y, visit.table[row].EntryName.derstring());
    back.DrawTextAt(520, y, DisplayedScore(visit.table[row].EntryScore.Value(), seconds));
  }
  const std::int32_t below = visit.table[kNoEntryRow].EntryScore.Value();
  if (visit.EntryRow == kNoEntryRow && below > 0) {
    back.SetTextColor(visit.highlight);
    back.DrawTextAt(400, 400, DisplayedScore(below, seconds));
  }
  const Point mouse = platform.MousePosition();
  back.BlitImage(mouse.x, mouse.y, display.CursorImage, Rect{}, true);
}

}  // namespace

HighScoreVisit OpenHighScoreVisit(Platform& platform, Modul& modul, const SafeNr& holder) {
  const std::int32_t normalized = NormalizedScore(holder.Value(), GameSeconds(modul));
  const std::string dir = HighScoreDir(platform);
  modul.LastKey = 0;
  HighScoreVisit visit;
  visit.table = MakeHighScoreTable(modul);
  visit.file = ReadHighScoreFile(platform, modul, visit.table, dir);
  visit.table[kNoEntryRow].EntryName.SetDerstring(std::string(1, kEditMark));
  visit.EntryRow = InsertScore(visit.table, normalized);
  return visit;
}

PassOutcome RunHighScorePass(Platform& platform, Modul& modul, DisplayState& display,
                             HighScoreVisit& visit) {
  PulseHighlight(visit);
  platform.Yield();
  RecoverLostDisplay(platform, display);
  ApplyTypedKey(modul.LastKey, visit.table[static_cast<std::size_t>(visit.EntryRow)].EntryName);

  if (platform.QuitRequested()) return PassOutcome::kQuit;
  // A key still held when the screen opened must be let go before it counts.
  // One poll serves both tests: a second poll would miss a press made and let
  // go between two passes, because the first poll takes its latch.
  const bool leave_key_down = AnyLeaveKeyDown(platform);
  if (!leave_key_down) visit.LeaveLatched = false;
  if (leave_key_down && !visit.LeaveLatched) return PassOutcome::kLeave;

  DrawHighScores(platform, modul, display, visit);
  platform.Flip(display.BackBuffer, kShellVisibleRect);
  return PassOutcome::kStay;
}

void LeaveHighScoreVisit(Platform& platform, Modul& modul, HighScoreVisit& visit, PassOutcome how) {
  if (how != PassOutcome::kQuit) {
    do {
      platform.Yield();
    } while (AnyLeaveKeyDown(platform) && !platform.QuitRequested());
  }
  SafeStr& name = visit.table[static_cast<std::size_t>(visit.EntryRow)].EntryName;
  std::string text = name.derstring();
  if (!text.empty()) text.pop_back();
  name.SetDerstring(text);
  WriteHighScoreFile(platform, modul, visit.table, visit.file);
}

void ShowHighScores(Platform& platform, Modul& modul, DisplayState& display, const SafeNr& holder) {
  HighScoreVisit visit = OpenHighScoreVisit(platform, modul, holder);
  platform.Events().Screen("highscores");
  PassOutcome outcome = PassOutcome::kStay;
  while (outcome == PassOutcome::kStay) outcome = RunHighScorePass(platform, modul, display, visit);
  LeaveHighScoreVisit(platform, modul, visit, outcome);
}

}  // namespace mw
