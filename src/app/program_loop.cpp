#include "app/program_loop.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "app/screens/game_screen.h"
#include "app/screens/menu_screen.h"
#include "app/screens/message_box_screen.h"
#include "game/sounds.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr const char* kProgramName = "moewenschuss";

}  // namespace

ProgramLoop::ProgramLoop(Platform& platform, EventLog& events, std::ostream& err)
    : platform_(platform), events_(events), err_(err) {}

const OneGameState* ProgramLoop::Play() const {
  for (const ScreenPtr& screen : screens_) {
    if (const auto* game = dynamic_cast<const GameScreen*>(screen.get())) return &game->Play();
  }
  return nullptr;
}

void ProgramLoop::Start() {
  try {
    // Read once: every visit of the high-score screen uses the same place.
    state_.high_score_prefix = platform_.EnvironmentVariable("OEDIR");
    ChooseDefaultSettings(state_.session);
    platform_.OpenDisplay();
    MakeShellPictures(platform_, media_.shell);
    screens_.push_back(std::make_unique<MenuScreen>());
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
      CarryOut(sample.requests);
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
  PassEnd end = PassEnd::kGoOn;
  if (screens_.empty()) {
    ending_ = true;
  } else {
    end = Apply(screens_.back()->Step(tools_, sample.frame));
  }
  end = ApplyOutbox(end);
  if (const std::optional<std::string> mismatch = platform_.ReplayMismatch()) {
    end_.status = kExitUsage;
    end_.replay_problem = *mismatch;
    finished_ = true;
    return false;
  }
  CarryOut(sample.requests);
  const bool box_on_top = dynamic_cast<const MessageBoxScreen*>(Top()) != nullptr;
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
  media_.game = GamePictures{};
  try {
    SyncModes();
    outbox_.ShowMessageBox(Utf8ToCp1252("Möwenschuss"), Utf8ToCp1252(utf8_text));
    ApplyOutbox(PassEnd::kGoOn);
    if (dynamic_cast<const MessageBoxScreen*>(Top()) == nullptr) Finish(kExitRuntimeError);
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

// --- the stack ---

PassEnd ProgramLoop::Apply(Next next) {
  for (int i = 0; i < next.pop && !screens_.empty(); ++i) screens_.pop_back();
  if (next.push) screens_.push_back(std::move(next.push));
  if (next.end_program) ending_ = true;
  return next.end;
}

// --- what the step asked for ---

PassEnd ProgramLoop::ApplyOutbox(PassEnd end) {
  std::vector<std::unique_ptr<MessageBoxScreen>> boxes;
  // Taken out first: a box shown below may ask the platform, which must not
  // see this pass's requests twice if it fails.
  Outbox out;
  std::swap(out, outbox_);
  for (const Event& event : out.events) {
    events_.Write(event);
    if (const auto* played = std::get_if<SoundEvent>(&event)) {
      platform_.PlaySound(played->channel, LoadedSound(media_.sounds, played->number));
    } else if (const auto* box = std::get_if<MessageBoxEvent>(&event)) {
      if (platform_.MessageBoxInWindow(box->title, box->text)) {
        boxes.push_back(
            std::make_unique<MessageBoxScreen>(MakeMessageBox(platform_, box->title, box->text)));
      }
    }
  }
  if (boxes.empty()) return end;
  // The first box asked for is shown first; the pass that asked ends as it
  // would have once the last one is confirmed.
  boxes.back()->ThenEnd(end);
  if (!media_.box_canvas) media_.box_canvas = platform_.MakeSurface(kPictureWidth, kPictureHeight);
  for (auto& box : boxes) screens_.push_back(std::move(box));
  std::reverse(screens_.end() - static_cast<std::ptrdiff_t>(boxes.size()), screens_.end());
  return PassEnd::kGoOn;
}

// F12 keeps the picture still on screen, the one the player saw when asking.
void ProgramLoop::CarryOut(const SampleRequests& requests) {
  for (const std::string& name : requests.shots) platform_.KeepNextPicture(name);
  for (int i = 0; i < requests.pictures_on_screen; ++i) platform_.KeepPictureOnScreen();
  for (int i = 0; i < requests.window_switches; ++i) platform_.SwitchWindowMode();
}

void ProgramLoop::Present() {
  if (screens_.empty()) return;
  if (const std::optional<Shown> shown = screens_.back()->Draw(state_, media_)) {
    platform_.Present(*shown->picture, shown->visible);
  }
}

// The mouse is kept in the window while a game runs, and the system's cursor
// shows over a message box only. Pads and fingers learn what the screen on
// top means by them.
void ProgramLoop::SyncModes() {
  InputContext meaning;
  for (auto screen = screens_.rbegin(); screen != screens_.rend(); ++screen) {
    if (const std::optional<InputContext> own = (*screen)->HandsMeaning()) {
      meaning = *own;
      break;
    }
  }
  platform_.SetInputContext(meaning);
  const bool in_game = Play() != nullptr;
  if (in_game != in_game_mode_) {
    in_game_mode_ = in_game;
    platform_.SetGameMode(in_game);
  }
  const bool box = dynamic_cast<const MessageBoxScreen*>(Top()) != nullptr;
  if (box != box_mode_) {
    box_mode_ = box;
    platform_.SetMessageBoxMode(box);
  }
}

void ProgramLoop::ShutdownDisplay() {
  platform_.CloseDisplay();
  media_.box_canvas = Surface();
  media_.shell.back_buffer = Surface();
  media_.shell.high_score_background = Surface();
  media_.shell.menu_background = Surface();
  media_.shell.settings_background = Surface();
  media_.shell.cursor_image = Surface();
}

}  // namespace mw
