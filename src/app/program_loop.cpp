#include "app/program_loop.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "app/screen_input_context.h"
#include "game/draw_game.h"
#include "game/frame_rules.h"
#include "game/screen_geometry.h"
#include "game/sounds.h"
#include "shared/waits.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr const char* kProgramName = "moewenschuss";

std::initializer_list<int> KeysOf(ReleaseWait::Keys keys) {
  static constexpr std::initializer_list<int> kConfirm = {vk::kLeftButton, vk::kReturn};
  static constexpr std::initializer_list<int> kEscape = {vk::kEscape};
  switch (keys) {
    case ReleaseWait::Keys::kConfirm:
      return kConfirm;
    case ReleaseWait::Keys::kEscape:
      return kEscape;
    case ReleaseWait::Keys::kHighScoreLeave:
      break;
  }
  return kHighScoreLeaveKeys;
}

template <typename T>
T* Top(std::vector<Screen>& screens) {
  return screens.empty() ? nullptr : std::get_if<T>(&screens.back());
}

}  // namespace

ProgramLoop::ProgramLoop(Platform& platform, EventLog& events, std::ostream& err)
    : platform_(platform), events_(events), err_(err) {
  // A handful at most stand on the menu; references into the stack stay valid.
  screens_.reserve(16);
}

const PlayState* ProgramLoop::Play() const {
  for (const Screen& screen : screens_) {
    if (const auto* game = std::get_if<GameScreen>(&screen)) return &game->play;
  }
  return nullptr;
}

void ProgramLoop::Start() {
  try {
    // Read once: every visit of the high-score screen uses the same place.
    state_.high_score_prefix = platform_.EnvironmentVariable("OEDIR");
    ChooseDefaultSettings(state_.session);
    platform_.OpenDisplay();
    MakeShellPictures(platform_, shell_pictures_);
    outbox_.Log(ScreenEvent{"menu"});
    ApplyOutbox(PassEnd::kGoOn);
  } catch (const std::bad_alloc&) {
    Fail("Laufzeitfehler 7: Nicht genügend Speicher");
  } catch (const std::exception& e) {
    Fail(e.what());
  }
}

bool ProgramLoop::Pass() {
  if (finished_) return false;
  try {
    return PassOrThrow();
  } catch (const std::bad_alloc&) {
    Fail("Laufzeitfehler 7: Nicht genügend Speicher");
  } catch (const std::exception& e) {
    Fail(e.what());
  }
  return !finished_;
}

bool ProgramLoop::PassOrThrow() {
  SyncModes();
  last_end_ = PassEnd::kGoOn;
  const InputSample sample = platform_.ReadInput();
  switch (sample.status) {
    case InputSample::Status::kFrame:
      break;
    case InputSample::Status::kNotYet:
      platform_.Pause();
      last_end_ = PassEnd::kPause;
      return true;
    case InputSample::Status::kStoppedWatching:
      end_.stopped_watching = true;
      finished_ = true;
      return false;
    case InputSample::Status::kScriptEnded:
      err_ << kProgramName << ": " << sample.message << '\n';
      Finish(kExitHeadlessTimeout);
      return false;
    case InputSample::Status::kRecordingEnded:
      end_.status = kExitUsage;
      end_.replay_problem = sample.message;
      finished_ = true;
      return false;
  }
  events_.SetTime(sample.frame.clock - kClockStart);
  PassEnd end = Step(sample.frame);
  end = ApplyOutbox(end);
  if (const std::optional<std::string> mismatch = platform_.ReplayMismatch()) {
    end_.status = kExitUsage;
    end_.replay_problem = *mismatch;
    finished_ = true;
    return false;
  }
  const bool box_on_top = Top<MessageBoxScreen>(screens_) != nullptr;
  if (ending_ && !box_on_top) {
    if (failing_) {
      Finish(kExitRuntimeError);
    } else {
      ShutdownDisplay();
      Finish(kExitOk);
    }
    return false;
  }
  SyncModes();
  last_end_ = end;
  switch (end) {
    case PassEnd::kPresent:
      Present();
      platform_.WaitForNextFrame();
      break;
    case PassEnd::kPause:
      platform_.Pause();
      break;
    case PassEnd::kGoOn:
      break;
  }
  return true;
}

// The player sees the error in a message box; it also goes to stderr, and
// the log ends with the status.
void ProgramLoop::Fail(const std::string& utf8_text) {
  // What the failing step logged before it failed stays in the log.
  try {
    ApplyOutbox(PassEnd::kGoOn);
  } catch (const std::exception&) {
    outbox_.Clear();
  }
  if (const std::optional<std::string> mismatch = platform_.ReplayMismatch()) {
    end_.status = kExitUsage;
    end_.replay_problem = *mismatch;
    finished_ = true;
    return;
  }
  err_ << kProgramName << ": " << utf8_text << '\n';
  if (failing_) {
    // The error box itself failed: nothing more to show.
    try {
      Finish(kExitRuntimeError);
    } catch (const std::exception&) {
      finished_ = true;
      end_.status = kExitRuntimeError;
    }
    return;
  }
  failing_ = true;
  ending_ = true;
  screens_.clear();
  game_pictures_ = GamePictures{};
  try {
    SyncModes();
    outbox_.ShowMessageBox(Utf8ToCp1252("Möwenschuss"), Utf8ToCp1252(utf8_text));
    ApplyOutbox(PassEnd::kGoOn);
    if (Top<MessageBoxScreen>(screens_) == nullptr) Finish(kExitRuntimeError);
  } catch (const std::exception&) {
    // Without a display there is no box; stderr has the text.
    try {
      Finish(kExitRuntimeError);
    } catch (const std::exception&) {
      finished_ = true;
      end_.status = kExitRuntimeError;
    }
  }
}

void ProgramLoop::Finish(int status) {
  finished_ = true;
  end_.status = status;
  events_.Write(ExitEvent{status});
}

// --- steps ---

PassEnd ProgramLoop::Step(const InputFrame& input) {
  if (screens_.empty()) return StepMenu(input);
  Screen& top = screens_.back();
  if (auto* settings = std::get_if<SettingsScreen>(&top)) return StepSettings(*settings, input);
  if (auto* game = std::get_if<GameScreen>(&top)) return StepGame(*game, input);
  if (auto* scores = std::get_if<HighScoreScreen>(&top)) return StepHighScores(*scores, input);
  if (auto* wait = std::get_if<ReleaseWait>(&top)) return StepReleaseWait(*wait, input);
  if (std::holds_alternative<LostDisplayWait>(top)) return StepLostDisplayWait(input);
  return StepMessageBox(std::get<MessageBoxScreen>(top), input);
}

// A pass that finds the display lost waits for it, pausing between samples;
// the screen then goes on with the sample that ended the wait. A close
// request ends the wait at once.
PassEnd ProgramLoop::WaitForDisplay(const InputFrame& input) {
  if (DisplayStillLost(input)) {
    screens_.emplace_back(LostDisplayWait{});
    return PassEnd::kPause;
  }
  return ResumeAfterDisplayLoss(WithoutPressesWhileAway(input));
}

PassEnd ProgramLoop::StepLostDisplayWait(const InputFrame& input) {
  if (DisplayStillLost(input)) return PassEnd::kPause;
  screens_.pop_back();
  return ResumeAfterDisplayLoss(WithoutPressesWhileAway(input));
}

PassEnd ProgramLoop::ResumeAfterDisplayLoss(const InputFrame& input) {
  if (screens_.empty()) {
    if (input.close_requested) {
      EndProgram();
      return PassEnd::kGoOn;
    }
    platform_.RestoreSurfaces();
    ReloadShellImages(platform_, shell_pictures_);
    return ContinueMenu(input);
  }
  Screen& top = screens_.back();
  if (auto* settings = std::get_if<SettingsScreen>(&top)) {
    if (input.close_requested) {
      screens_.emplace_back(ReleaseWait{ReleaseWait::Keys::kEscape});
      return PassEnd::kGoOn;
    }
    platform_.RestoreSurfaces();
    ReloadShellImages(platform_, shell_pictures_);
    return ContinueSettings(*settings, input);
  }
  if (auto* scores = std::get_if<HighScoreScreen>(&top)) {
    platform_.RestoreSurfaces();
    ReloadShellImages(platform_, shell_pictures_);
    return ContinueHighScores(*scores, input);
  }
  auto& game = std::get<GameScreen>(top);
  if (input.close_requested) return EndGame(GameEnd::kClose);
  platform_.RestoreSurfaces();
  ReloadGameImages(platform_, game_pictures_);
  return RunFrame(game, input);
}

PassEnd ProgramLoop::StepMenu(const InputFrame& input) {
  BeginMenuPass(state_.menu);
  if (input.display_lost) return WaitForDisplay(input);
  return ContinueMenu(input);
}

PassEnd ProgramLoop::ContinueMenu(const InputFrame& input) {
  switch (ContinueMenuPass(state_.menu, input)) {
    case MenuPass::kStay:
      return PassEnd::kPresent;
    case MenuPass::kConfirm:
      screens_.emplace_back(
          ReleaseWait{ReleaseWait::Keys::kConfirm, input.close_requested, input.Down(vk::kEscape)});
      return PassEnd::kGoOn;
    case MenuPass::kAct:
    case MenuPass::kLeave:
    case MenuPass::kClose:
      break;
  }
  EndProgram();
  return PassEnd::kGoOn;
}

PassEnd ProgramLoop::StepReleaseWait(const ReleaseWait& wait, const InputFrame& input) {
  if (KeysStillDown(input, KeysOf(wait.keys))) return PassEnd::kPause;
  const ReleaseWait ended = wait;
  screens_.pop_back();
  switch (ended.keys) {
    case ReleaseWait::Keys::kConfirm:
      switch (AfterConfirmReleased(state_.menu, ended.close_requested, ended.escape_down)) {
        case MenuPass::kAct:
          return OpenSelectedLine();
        case MenuPass::kStay:
        case MenuPass::kConfirm:
          return PassEnd::kPresent;
        case MenuPass::kLeave:
        case MenuPass::kClose:
          break;
      }
      EndProgram();
      return PassEnd::kGoOn;
    case ReleaseWait::Keys::kEscape:
      screens_.pop_back();  // the settings
      break;
    case ReleaseWait::Keys::kHighScoreLeave: {
      auto& scores = std::get<HighScoreScreen>(screens_.back());
      FinishHighScoreVisit(platform_, state_.session, scores.visit, outbox_);
      screens_.pop_back();
      break;
    }
  }
  if (input.close_requested) {
    EndProgram();
    return PassEnd::kGoOn;
  }
  return BackToMenu();
}

PassEnd ProgramLoop::OpenSelectedLine() {
  switch (state_.menu.selected) {
    case kStartGame:
      PrepareGame(state_.session, state_.game);
      screens_.emplace_back(GameScreen{});
      LoadGamePictures(platform_, game_pictures_);
      return PassEnd::kGoOn;
    case kSettings:
      screens_.emplace_back(SettingsScreen{});
      outbox_.Log(ScreenEvent{"settings"});
      return PassEnd::kGoOn;
    case kHighScores:
      OpenHighScores(state_.menu.no_result);
      return PassEnd::kGoOn;
    default:
      EndProgram();
      return PassEnd::kGoOn;
  }
}

void ProgramLoop::OpenHighScores(const GuardedNumber& holder) {
  HighScoreVisit visit =
      OpenHighScoreVisit(platform_, state_.session, holder, state_.high_score_prefix, outbox_);
  screens_.emplace_back(HighScoreScreen{std::move(visit)});
  outbox_.Log(ScreenEvent{"highscores"});
}

PassEnd ProgramLoop::BackToMenu() {
  outbox_.Log(ScreenEvent{"menu"});
  // The menu shows itself once as it was left, before it looks at input again.
  return PassEnd::kPresent;
}

void ProgramLoop::EndProgram() {
  ending_ = true;
}

PassEnd ProgramLoop::StepSettings(SettingsScreen& screen, const InputFrame& input) {
  BeginSettingsPass(screen.settings);
  if (input.display_lost) return WaitForDisplay(input);
  return ContinueSettings(screen, input);
}

PassEnd ProgramLoop::ContinueSettings(SettingsScreen& screen, const InputFrame& input) {
  if (ContinueSettingsPass(screen.settings, state_.session, input) == SettingsPass::kStay) {
    return PassEnd::kPresent;
  }
  // Escape must be up again before the menu looks at it, or it would end the
  // program.
  screens_.emplace_back(ReleaseWait{ReleaseWait::Keys::kEscape});
  return PassEnd::kGoOn;
}

PassEnd ProgramLoop::StepHighScores(HighScoreScreen& screen, const InputFrame& input) {
  BeginHighScorePass(screen.visit);
  if (input.display_lost) return WaitForDisplay(input);
  return ContinueHighScores(screen, input);
}

PassEnd ProgramLoop::ContinueHighScores(HighScoreScreen& screen, const InputFrame& input) {
  switch (ContinueHighScorePass(screen.visit, input)) {
    case HighScorePass::kStay:
      return PassEnd::kPresent;
    case HighScorePass::kLeave:
      screens_.emplace_back(ReleaseWait{ReleaseWait::Keys::kHighScoreLeave});
      return PassEnd::kGoOn;
    case HighScorePass::kClose:
      break;
  }
  // A closed window does not wait for keys; the table is saved all the same.
  FinishHighScoreVisit(platform_, state_.session, screen.visit, outbox_);
  screens_.pop_back();
  EndProgram();
  return PassEnd::kGoOn;
}

PassEnd ProgramLoop::StepGame(GameScreen& screen, const InputFrame& input) {
  if (!screen.set_up) {
    // The set-up takes the clock of a sample of its own.
    SetUpGame(state_.game, screen.play, input.clock, platform_);
    screen.set_up = true;
    sounds_ = LoadGameSounds(platform_);
    outbox_.Log(ScreenEvent{"game"});
    return PassEnd::kGoOn;
  }
  // Escape and a close request are tested at the very end of a frame, after
  // it was shown: on the sample taken after it, before the next frame runs.
  if (screen.play.frame_count > 0) {
    if (input.close_requested) return EndGame(GameEnd::kClose);
    if (input.Down(vk::kEscape)) return EndGame(GameEnd::kEscape);
  }
  if (input.display_lost) return WaitForDisplay(input);
  return RunFrame(screen, input);
}

PassEnd ProgramLoop::RunFrame(GameScreen& screen, const InputFrame& input) {
  GameContext ctx{state_.game, screen.play, outbox_};
  if (!StepFrame(ctx, input)) return EndGame(GameEnd::kTime);
  return PassEnd::kPresent;
}

PassEnd ProgramLoop::EndGame(GameEnd reason) {
  outbox_.Log(GameEndEvent{EndReason(reason), state_.game.score.Value()});
  screens_.pop_back();
  game_pictures_ = GamePictures{};
  // A closed window ends the program without showing the table.
  if (reason == GameEnd::kClose) {
    EndProgram();
    return PassEnd::kGoOn;
  }
  // A score edited from outside during the game must not reach the file.
  if (state_.game.Tampered()) state_.session.cheat_flag = true;
  OpenHighScores(state_.game.score);
  return PassEnd::kGoOn;
}

PassEnd ProgramLoop::StepMessageBox(MessageBoxScreen& screen, const InputFrame& input) {
  if (!mw::StepMessageBox(screen.box, input)) return PassEnd::kPresent;
  const PassEnd then = screen.then;
  screens_.pop_back();
  return then;
}

// --- what the step asked for ---

PassEnd ProgramLoop::ApplyOutbox(PassEnd end) {
  std::vector<MessageBoxScreen> boxes;
  // Taken out first: a box shown below may ask the platform, which must not
  // see this pass's requests twice if it fails.
  Outbox out;
  std::swap(out, outbox_);
  for (const Event& event : out.events) {
    events_.Write(event);
    if (const auto* played = std::get_if<SoundEvent>(&event)) {
      platform_.PlaySound(played->channel, LoadedSound(sounds_, played->number));
    } else if (const auto* box = std::get_if<MessageBoxEvent>(&event)) {
      if (platform_.MessageBoxInWindow(box->title, box->text)) {
        boxes.push_back(MessageBoxScreen{MakeMessageBox(platform_, box->title, box->text)});
      }
    }
  }
  if (boxes.empty()) return end;
  // The first box asked for is shown first; the pass that asked ends as it
  // would have once the last one is confirmed.
  boxes.back().then = end;
  for (MessageBoxScreen& box : boxes) screens_.push_back(std::move(box));
  std::reverse(screens_.end() - static_cast<std::ptrdiff_t>(boxes.size()), screens_.end());
  return PassEnd::kGoOn;
}

void ProgramLoop::Present() {
  if (screens_.empty()) {
    DrawMenu(state_.menu, shell_pictures_);
    platform_.Present(shell_pictures_.back_buffer, kShellVisibleRect);
    return;
  }
  const Screen& top = screens_.back();
  if (const auto* settings = std::get_if<SettingsScreen>(&top)) {
    DrawSettings(settings->settings, state_.session, shell_pictures_);
    platform_.Present(shell_pictures_.back_buffer, kShellVisibleRect);
  } else if (const auto* scores = std::get_if<HighScoreScreen>(&top)) {
    DrawHighScores(state_.session, scores->visit, shell_pictures_);
    platform_.Present(shell_pictures_.back_buffer, kShellVisibleRect);
  } else if (const auto* game = std::get_if<GameScreen>(&top)) {
    DrawGame(state_.game, game->play, game_pictures_);
    platform_.Present(game_pictures_.back_buffer, kGameVisibleRect);
  } else if (const auto* box = std::get_if<MessageBoxScreen>(&top)) {
    if (!box_canvas_) box_canvas_ = platform_.MakeSurface(kPictureWidth, kPictureHeight);
    DrawMessageBox(box->box, box_canvas_);
    platform_.Present(box_canvas_, Rect{0, 0, kPictureWidth, kPictureHeight});
  }
}

// The mouse is kept in the window while a game runs, and the system's cursor
// shows over a message box only. Pads and fingers learn what the screen on
// top means by them.
void ProgramLoop::SyncModes() {
  platform_.SetInputContext(InputContextOf(screens_));
  const bool in_game = Play() != nullptr;
  if (in_game != in_game_mode_) {
    in_game_mode_ = in_game;
    platform_.SetGameMode(in_game);
  }
  const bool box = Top<MessageBoxScreen>(screens_) != nullptr;
  if (box != box_mode_) {
    box_mode_ = box;
    platform_.SetMessageBoxMode(box);
  }
}

void ProgramLoop::ShutdownDisplay() {
  platform_.CloseDisplay();
  box_canvas_ = Surface();
  shell_pictures_.back_buffer = Surface();
  shell_pictures_.high_score_background = Surface();
  shell_pictures_.menu_background = Surface();
  shell_pictures_.settings_background = Surface();
  shell_pictures_.cursor_image = Surface();
}

}  // namespace mw
