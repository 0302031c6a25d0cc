// The script parser's refusals and acceptances, and what the headless
// platform's frames, time-out, sounds and counts promise. (Its virtual time is
// in every golden log: each event's time follows from it; the hands and the
// hook that tests hold are used by the soak bot and the loop's tests.)

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "embedded/embedded_files.h"
#include "errors/runtime_error.h"
#include "platform/headless/headless_platform.h"
#include "script/script.h"

namespace mw {
namespace {

std::unique_ptr<HeadlessPlatform> StartRun(std::string_view script, HeadlessOptions options = {}) {
  return MakeHeadlessPlatform(ParseScript(script, "test.txt"), std::move(options));
}

// The next sample, which must be a frame.
InputFrame NextFrame(HeadlessPlatform& p) {
  const InputSample sample = p.ReadInput();
  EXPECT_EQ(sample.status, InputSample::Status::kFrame) << sample.message;
  return sample.frame;
}

// A picture shown, and the wait for the next frame (to the next 1/60 s).
void ShowPicture(HeadlessPlatform& p, const Surface& back) {
  p.Present(back, {});
  p.WaitForNextFrame();
}

// Each script's fault is on its last line.
TEST(ScriptParser, ReportsEachFaultWithFileAndLine) {
  for (const std::string script : {"# comment\n\n0 jump\n",
                                   "0 press enter\n0 press shift\n",
                                   "0 down vk-256\n",
                                   "100 close\n99 close\n",
                                   "0 mouse 10\n",
                                   "0 mouse 10 20 30\n",
                                   "0 type\n",
                                   "0 char 256\n",
                                   "-5 close\n",
                                   "+5 close\n",
                                   "1.5.2 close\n",
                                   "0 shot ../etc/passwd\n",
                                   "0 shot pics/../../x\n",
                                   "0 shot a\\b\n",
                                   "0 shot "
                                   "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                                   "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                                   "aaaaaaa\n",
                                   "0 lose-display\n",
                                   "0 type 日本\n",
                                   "5\n",
                                   "0 touch-down 1 640 0\n",
                                   "0 touch-down 10 5 5\n",
                                   "0 touch-move 1 5\n",
                                   "0 touch-up\n",
                                   "0 touch-cancel 1\n",
                                   "0 pad-down z\n",
                                   "0 pad-press\n",
                                   "0 pad-axis leftz 0\n",
                                   "0 pad-axis leftx 1.5\n",
                                   "0 pad-axis lefttrigger -0.5\n",
                                   "0 pad-axis lefty 0.1234567\n",
                                   "0 pad-axis leftx -\n",
                                   "0 pad-axis leftx .5\n",
                                   "0 pad-plug 2\n"}) {
    const auto line = std::count(script.begin(), script.end(), '\n');
    try {
      ParseScript(script, "bad.txt");
      ADD_FAILURE() << "accepted: " << script;
    } catch (const ScriptError& e) {
      EXPECT_TRUE(std::string(e.what()).starts_with("bad.txt:" + std::to_string(line) + ": "))
          << script << ": " << e.what();
    }
  }
}

// Every golden script is parsed as well; here what none of them writes.
TEST(ScriptParser, AcceptsCommentsBlankLinesAndCrLf) {
  const Script s = ParseScript(
      "# a run\r\n\n"
      "0 mouse -5 900 # off the screen\n"
      "0.95 press mouse-left\n"
      "10 down vk-255\n"
      "10 up arrow-down\n"
      "20 type Möwe # keeps this\n"
      "30 shot menu_1\n",
      "s.txt");
  ASSERT_EQ(s.events.size(), 7u);
  EXPECT_EQ(s.events[1].tick, 285);  // 0.95 ms
  EXPECT_EQ(s.events[4].text, "M\xF6we # keeps this");
  EXPECT_EQ(s.events.back().kind, ScriptEvent::Kind::kUp);  // the press's release at 50.95 ms
  EXPECT_EQ(s.events.back().tick, 50 * 300 + 285);
  EXPECT_EQ(VirtualKeyOfName("vk-0"), 0);
  EXPECT_EQ(VirtualKeyOfName("vk-"), -1);
  EXPECT_EQ(VirtualKeyOfName("vk-1x"), -1);
}

TEST(HeadlessInput, AFrameHoldsTheKeysDownAndEveryPressSinceTheLast) {
  auto p = StartRun(
      "0 down enter\n0 up enter\n0 type a\xC3\xB6\n0 char 8\n0 press mouse-left\n"
      "1 press escape\n");
  InputFrame f = NextFrame(*p);
  EXPECT_EQ(f.keys[vk::kReturn], (KeyState{false, 1}));  // let go already, but pressed
  EXPECT_TRUE(f.Down(vk::kReturn));
  EXPECT_EQ(f.keys[vk::kLeftButton], (KeyState{true, 1}));
  EXPECT_FALSE(f.Down(vk::kCount));
  EXPECT_FALSE(f.Down(-1));
  // Every character since the last frame, in order; Enter types its code.
  EXPECT_EQ(f.typed,
            "\r"
            "a\xF6\b");
  f = NextFrame(*p);
  EXPECT_FALSE(f.Down(vk::kReturn)) << "a press is in one frame only";
  EXPECT_EQ(f.typed, "");
  Surface back = p->MakeSurface(640, 480);
  ShowPicture(*p, back);  // 16.67 ms
  EXPECT_EQ(NextFrame(*p).keys[vk::kEscape], (KeyState{true, 1}));
  EXPECT_EQ(NextFrame(*p).keys[vk::kEscape], (KeyState{true, 0}));
  ShowPicture(*p, back);
  ShowPicture(*p, back);  // 50 ms: a press lasts 50 ms from 1 ms
  EXPECT_TRUE(NextFrame(*p).keys[vk::kEscape].down);
  ShowPicture(*p, back);
  EXPECT_FALSE(NextFrame(*p).Down(vk::kEscape));
}

TEST(HeadlessRunner, StopsAtTheFirstInputFrameSixtySecondsAfterTheLastEvent) {
  auto p = StartRun("1000 press enter\n");
  while (p->NowMs() < 61100.0) p->Pause();  // only taking a sample stops the run
  const InputSample late = p->ReadInput();
  EXPECT_EQ(late.status, InputSample::Status::kScriptEnded);
  EXPECT_EQ(late.message,
            "test.txt: das Programm läuft noch 60 s nach dem letzten Ereignis des Skripts");
  auto exact = StartRun("1000 press enter\n");
  for (int i = 0; i < 100000; ++i) {
    exact->Pause();
    if (exact->ReadInput().status == InputSample::Status::kScriptEnded) break;
  }
  EXPECT_GT(exact->NowMs(), 61050.0) << "60 s after the release of the press";
  EXPECT_LT(exact->NowMs(), 61052.0);

  HeadlessOptions endless;
  endless.stop_after_script = false;  // a replay ends when its recording does
  auto q = StartRun("1000 press enter\n", endless);
  while (q->NowMs() < 70000.0) {
    q->Pause();
    ASSERT_EQ(q->ReadInput().status, InputSample::Status::kFrame);
  }
}

TEST(HeadlessRunner, SoundsAreDecodedOnlyWhenPresentAndPlaysCounted) {
  HeadlessOptions options;
  options.sound_device = false;
  auto p = StartRun("", options);
  EXPECT_FALSE(p->OpenSoundDevice());
  EXPECT_THROW(p->LoadSound("no-such.wav"), RuntimeError);
  EXPECT_THROW(p->PlaySound(0, nullptr), RuntimeError);
  EXPECT_EQ(p->SoundPlays(), 0);
  if (FindEmbeddedFile("20.pdk") == nullptr) GTEST_SKIP() << "sounds not built in yet";
  const SoundBuffer shot = p->LoadSound("20.PDK");
  p->PlaySound(99, shot);
  p->PlaySound(99, shot);
  EXPECT_THROW(p->PlaySound(100, shot), RuntimeError);
  EXPECT_THROW(p->PlaySound(-1, shot), RuntimeError);
  EXPECT_EQ(p->SoundPlays(), 2);
}

// A long run's memory check counts on these: a surface or sound counts from
// its making to its release, whichever way it was made or moved; fonts stay
// open; the rendered texts can be let go without changing a pixel.
TEST(HeadlessRunner, CountsTheSurfacesSoundsAndFontsItHolds) {
  auto p = StartRun("");
  const LiveResources at_start = p->CountLiveResources();
  EXPECT_EQ(at_start.surfaces, 1);  // the picture on screen
  EXPECT_EQ(at_start.textures, 0);
  {
    Surface made = p->MakeSurface(8, 8);
    made.SetTransparentColor(0);
    Surface moved = std::move(made);
    Surface scaled = moved.ScaledCopy({}, 16, 16);
    Surface shown = p->PictureOnScreen();
    EXPECT_EQ(p->CountLiveResources().surfaces, 4);
    moved = Surface();
    EXPECT_EQ(p->CountLiveResources().surfaces, 3);
    if (FindEmbeddedFile("1.pdk") != nullptr) {
      Surface image = p->ImageSurface("1.pdk", 40, 30);
      EXPECT_EQ(p->CountLiveResources().surfaces, 4);
    }
    if (FindEmbeddedFile("20.pdk") != nullptr) {
      const SoundBuffer shot = p->LoadSound("20.pdk");
      const SoundBuffer again = shot;
      EXPECT_EQ(p->CountLiveResources().sounds, 1);
    }
    EXPECT_EQ(p->CountLiveResources().sounds, 0);

    const TextStyle style{{"Arial", 20, true}, Rgb(255, 255, 255), true, Rgb(0, 0, 0)};
    Surface text = p->MakeSurface(200, 40);
    text.DrawText(0, 0, "M\xF6we", style);
    const std::uint32_t drawn = text.PixelAt(5, 10);
    const LiveResources with_text = p->CountLiveResources();
    EXPECT_EQ(with_text.fonts, 1);
    EXPECT_EQ(with_text.rendered_texts, 1);
    p->ForgetRenderedTexts();
    EXPECT_EQ(p->CountLiveResources().rendered_texts, 0);
    EXPECT_EQ(p->CountLiveResources().fonts, 1);
    text.FillRect({}, 0);
    text.DrawText(0, 0, "M\xF6we", style);
    EXPECT_EQ(text.PixelAt(5, 10), drawn);
  }
  EXPECT_EQ(p->CountLiveResources().surfaces, at_start.surfaces);
}

}  // namespace
}  // namespace mw
