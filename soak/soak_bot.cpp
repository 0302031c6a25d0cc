#include "soak/soak_bot.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <exception>
#include <optional>
#include <sstream>
#include <vector>

#include "app/program_loop.h"
#include "game/frame_rules.h"
#include "game/screen_geometry.h"
#include "highscores/high_score_format.h"
#include "platform/headless/headless_platform.h"
#include "platform/os/file_storage.h"
#include "soak/aiming.h"
#include "soak/memory_in_use.h"

namespace mw {
namespace {

constexpr double kTap = 12;  // ms a tapped key stays down: less than a frame
constexpr int kSwitchFrames = 600;

// The player: decides after every shown frame what the hand does next.
class Bot {
 public:
  Bot(const SoakOptions& options, SoakResult& result) : options_(options), result_(result) {}

  void Attach(RunState& state, HeadlessPlatform& platform) {
    state_ = &state;
    platform_ = &platform;
  }

  bool IsDown(int key, double now) const {
    return key >= 0 && key < vk::kCount && now < down_until_[static_cast<std::size_t>(key)];
  }
  Point Aim() const { return aim_; }
  // The name is typed one character a frame, as a person types.
  std::optional<char> NextTyped() {
    if (typed_.empty()) return std::nullopt;
    const char c = typed_.front();
    typed_.pop_front();
    return c;
  }

  void AfterFrame(double now, Rect visible) {
    now_ = now;
    ++in_phase_;
    const bool in_game = visible == kGameVisibleRect;
    switch (phase_) {
      case Phase::kToSettings:
        aim_ = {320, 300};
        if (in_phase_ == 5) Tap(vk::kLeftButton, 40);
        if (in_phase_ > 15) Enter(Phase::kSettings);
        break;
      case Phase::kSettings:
        ChooseSettings();
        break;
      case Phase::kStartGame:
        aim_ = {320, 250};
        if (in_phase_ == 10) Tap(vk::kLeftButton, 40);
        if (in_game) StartGame();
        if (in_phase_ > 600) Problem("the game did not start");
        break;
      case Phase::kInGame:
        if (in_game) {
          PlayFrame();
        } else {
          game_.resident_end = ResidentBytes();
          game_.live_end = platform_->CountLiveResources();
          platform_->ForgetRenderedTexts();
          game_.heap_end = HeapBytesInUse();
          Enter(Phase::kHighScores);
        }
        break;
      case Phase::kHighScores:
        TypeName();
        break;
      case Phase::kLeaving:
        if (in_phase_ == 10) FinishGame();
        break;
      case Phase::kEnding:
        if (in_phase_ == 5) Tap(vk::kEscape, 40);
        break;
    }
  }

  void Problem(const std::string& what) {
    if (result_.problems.size() < 20) result_.problems.push_back(what);
    phase_ = Phase::kEnding;  // end the run rather than play blind
    in_phase_ = 0;
  }

  std::function<void(int, const SoakGame&)> report;

 private:
  enum class Phase { kToSettings, kSettings, kStartGame, kInGame, kHighScores, kLeaving, kEnding };

  void Enter(Phase phase) {
    phase_ = phase;
    in_phase_ = 0;
  }

  void Tap(int key, double ms = kTap) { down_until_[static_cast<std::size_t>(key)] = now_ + ms; }

  // One line per eight frames: point at it, then click it until its choice is
  // the wanted one; then "Zurück".
  void ChooseSettings() {
    const std::array<int, 5> wanted = {0, options_.gull_count, options_.game_speed,
                                       options_.machine_gun_speed, options_.game_time};
    int line = 5;
    for (int s = 1; s <= 4; ++s) {
      if (state_->session.setting_choice[static_cast<std::size_t>(s)] != wanted[s]) {
        line = s;
        break;
      }
    }
    aim_ = {320, 100 + 50 * line};
    if (in_phase_ % 8 == 3) Tap(vk::kLeftButton);
    if (line == 5 && in_phase_ % 8 == 3) Enter(Phase::kStartGame);
    if (in_phase_ > 2000) Problem("the settings could not be chosen");
  }

  void StartGame() {
    Enter(Phase::kInGame);
    game_ = SoakGame{};
    if (options_.leak_per_game > 0) {
      leaked_.push_back(std::vector<char>(static_cast<std::size_t>(options_.leak_per_game), 1));
    }
    game_.resident_start = ResidentBytes();
    game_.heap_start = HeapBytesInUse();
    ship_hits_seen_ = state_->game.ship_hits;
    previous_frames_.clear();
    before_ = ReadTable();
  }

  // Gulls nearer than Distance 3 are left to splat on the windscreen.
  std::optional<Point> Target() const { return NearestGullInView(state_->game, 3); }
  std::optional<Point> Ship() const { return ShipInView(state_->game); }

  void CountWhatHappened() {
    const RunGameState& game = state_->game;
    if (previous_frames_.size() != game.gulls.size()) previous_frames_.assign(game.gulls.size(), 1);
    for (std::size_t i = 1; i < game.gulls.size(); ++i) {
      if (previous_frames_[i] != 0 && game.gulls[i].frame == 0) ++game_.gull_hits;
      previous_frames_[i] = game.gulls[i].frame;
    }
    if (game.ship_hits != ship_hits_seen_) {
      ++game_.ship_hits;
      ship_hits_seen_ = game.ship_hits;
    }
    if (game.splat_count == 0 && splats_seen_ > 0) ++game_.wipes;
    splats_seen_ = game.splat_count;
  }

  void PlayFrame() {
    ++game_.frames;
    CountWhatHappened();
    const RunGameState& game = state_->game;
    const std::int64_t f = game_.frames;

    if (f % kSwitchFrames == 0) {
      Tap(game.weapon == 1 ? vk::kKey2 : vk::kKey1);
      ++game_.weapon_switches;
      return;
    }
    if (f % 900 < 45) Tap(f % 1800 < 900 ? vk::kLeft : vk::kRight, 20);  // scroll a while

    if (game.splat_count >= 12 && f % 4 == 0) {
      aim_ = {250, 465};
      Tap(vk::kLeftButton);
      return;
    }
    if (game.weapon == 1 && game.cartridges.Value() == 0) {
      if (f % 4 == 0) {
        Tap(vk::kRightButton);
        ++game_.reloads;
      }
      return;
    }
    // Outside ship mode a ship costs points, so one a game; in ship mode ships
    // earn and gulls cost, so only ships then.
    const bool ship_mode = ShipModeActive(game);
    std::optional<Point> target = ship_mode ? std::nullopt : Target();
    if (const auto ship = Ship(); ship && (ship_mode || (game_.ship_hits == 0 && f % 5 == 0))) {
      target = ship;
    }
    if (!target) return;
    aim_ = *target;
    if (game.weapon == 2) {
      Tap(vk::kLeftButton, 20);  // held while there is something to hit
    } else if (f % 2 == 0) {
      Tap(vk::kLeftButton);
    }
  }

  void TypeName() {
    if (in_phase_ == 5) {
      game_.name = "Bot " + std::to_string(result_.games.size() + 1) + " M\xF6we|\xDF!";
      typed_.assign(game_.name.begin(), game_.name.end());
    }
    if (in_phase_ == 40) {
      Tap(vk::kReturn, 40);
      Enter(Phase::kLeaving);
    }
  }

  std::string ScorePath() const { return options_.score_folder + "highscores.pdk"; }

  std::optional<ParsedHighScores> ReadTable() {
    const FileReadResult read = ReadFilePrefix(ScorePath(), kHighScoreBytesUsed);
    if (read.status == FileReadResult::Status::kFailed) return std::nullopt;
    return ParseHighScores(read.bytes);
  }

  // The file after the save: clean, and holding the new entry when it beat
  // the fifth.
  void CheckSavedFile() {
    const auto after = ReadTable();
    if (!after) return Problem("the high-score file cannot be read after a save");
    if (after->cheat_flag) return Problem("the saved high-score file fails its checksum");
    const int seconds = SettingValue(state_->session, kGameTime);
    const std::int64_t normalized = static_cast<std::int64_t>(game_.score) * (720 / seconds);
    const std::int32_t fifth = before_ ? before_->entries[4].score : 0;
    bool found = false;
    for (const PlainHighScore& e : after->entries) found |= e.name == game_.name;
    if (normalized > fifth && !found) {
      Problem("game " + std::to_string(result_.games.size() + 1) + ": the name is not in the file");
    }
    if (normalized <= fifth && found) Problem("a score below the table was saved");
  }

  void FinishGame() {
    game_.score = state_->game.score.Value();
    CheckSavedFile();
    result_.games.push_back(game_);
    if (report) report(static_cast<int>(result_.games.size()), game_);
    if (phase_ == Phase::kEnding) return;  // a problem ends the run
    Enter(static_cast<int>(result_.games.size()) < options_.games ? Phase::kStartGame
                                                                  : Phase::kEnding);
  }

  const SoakOptions& options_;
  SoakResult& result_;
  RunState* state_ = nullptr;
  HeadlessPlatform* platform_ = nullptr;
  Phase phase_ = Phase::kToSettings;
  std::int64_t in_phase_ = 0;
  double now_ = 0;
  std::array<double, vk::kCount> down_until_{};
  Point aim_{320, 240};
  std::deque<char> typed_;
  SoakGame game_;
  std::optional<ParsedHighScores> before_;
  std::vector<std::int16_t> previous_frames_;
  std::int16_t ship_hits_seen_ = 0;
  std::int32_t splats_seen_ = 0;
  std::vector<std::vector<char>> leaked_;
};

// The headless platform with the bot's hand on the keys and the mouse: before
// every input frame the bot's hand is put on the platform's keys, so virtual
// time runs as in a real run.
class SoakPlatform : public HeadlessPlatform {
 public:
  SoakPlatform(Bot& bot, HeadlessOptions options)
      // One far-off event keeps the headless time-out away for ~11 days.
      : HeadlessPlatform(ParseScript("1000000000 mouse 0 0\n", "soak"), std::move(options)),
        bot_(bot) {
    SetInputHook([this](HeadlessPlatform& platform) { MoveHand(platform); });
  }

  void Present(const Surface& back_buffer, Rect visible) override {
    HeadlessPlatform::Present(back_buffer, visible);
    shown_ = visible;
  }
  // The player decides once the picture has been on screen for its frame.
  void WaitForNextFrame() override {
    HeadlessPlatform::WaitForNextFrame();
    bot_.AfterFrame(NowMs(), shown_);
  }

  bool MessageBoxInWindow(std::string_view title, std::string_view text) override {
    bot_.Problem("message box: " + std::string(title) + ": " + std::string(text));
    return false;
  }

 private:
  void MoveHand(HeadlessPlatform& platform) {
    const double now = NowMs();
    for (int key = 0; key < vk::kCount; ++key) {
      const bool want = bot_.IsDown(key, now);
      if (want && !held_[static_cast<std::size_t>(key)]) platform.PressKey(key);
      if (!want && held_[static_cast<std::size_t>(key)]) platform.ReleaseKey(key);
      held_[static_cast<std::size_t>(key)] = want;
    }
    platform.MoveMouse(bot_.Aim());
    if (const auto c = bot_.NextTyped()) platform.TypeText(std::string(1, *c));
  }

  Bot& bot_;
  Rect shown_;
  std::array<bool, vk::kCount> held_{};
};

}  // namespace

SoakResult RunSoak(const SoakOptions& options,
                   const std::function<void(int, const SoakGame&)>& report) {
  SoakResult result;
  // Room for every game first, so the results do not move the heap.
  result.games.reserve(static_cast<std::size_t>(std::max(options.games, 0)));
  Bot bot(options, result);
  bot.report = report;
  HeadlessOptions machine;
  machine.environment = {{"OEDIR", options.score_folder}};
  SoakPlatform platform(bot, machine);  // before the loop: it outlives every surface
  EventLog events;
  std::ostringstream err;
  ProgramLoop loop(platform, events, err);
  bot.Attach(loop.State(), platform);
  loop.Start();
  while (loop.Pass()) {
  }
  result.exit_code = loop.End().status;
  if (result.exit_code != 0) result.problems.push_back("run-time error: " + err.str());
  if (static_cast<int>(result.games.size()) != options.games && result.problems.empty()) {
    result.problems.push_back("only " + std::to_string(result.games.size()) + " games played");
  }
  return result;
}

}  // namespace mw
