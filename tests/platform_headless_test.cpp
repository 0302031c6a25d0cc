#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/embedded_files.h"
#include "platform/headless_platform.h"
#include "platform/runtime_error.h"
#include "platform/script.h"

namespace mw {
namespace {

std::unique_ptr<HeadlessPlatform> StartRun(std::string_view script, HeadlessOptions options = {}) {
  return MakeHeadlessPlatform(ParseScript(script, "test.txt"), std::move(options));
}

std::string ErrorOf(std::string_view script) {
  try {
    ParseScript(script, "bad.txt");
  } catch (const ScriptError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ScriptParser, ReportsEachFaultWithFileAndLine) {
  EXPECT_EQ(ErrorOf("# comment\n\n0 jump\n").substr(0, 10), "bad.txt:3:");
  EXPECT_EQ(ErrorOf("0 press enter\n0 press shift\n").substr(0, 10), "bad.txt:2:");
  EXPECT_EQ(ErrorOf("0 down vk-256\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("100 close\n99 close\n").substr(0, 10), "bad.txt:2:");
  EXPECT_EQ(ErrorOf("0 mouse 10\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("0 mouse 10 20 30\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("0 type\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("0 char 256\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("-5 close\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("1.5.2 close\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("0 shot ../etc/passwd\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("0 lose-display\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("0 type 日本\n").substr(0, 10), "bad.txt:1:");
  EXPECT_EQ(ErrorOf("5\n").substr(0, 10), "bad.txt:1:");
  EXPECT_NE(ErrorOf("0 jump\n").find("jump"), std::string::npos);
}

TEST(ScriptParser, AcceptsCommentsBlankLinesAndEveryKeyName) {
  const Script s = ParseScript(
      "# a run\r\n\n"
      "0 mouse -5 900  # off the screen\n"
      "0.5 press mouse-left\n"
      "10 down vk-255\n"
      "10 up arrow-down\n"
      "20 type Möwe # keeps this\n"
      "30 shot menu_1\n",
      "s.txt");
  ASSERT_EQ(s.events.size(), 7u);
  EXPECT_EQ(s.events[1].tick, 150);  // 0.5 ms
  EXPECT_EQ(s.events[4].text, "M\xF6we # keeps this");
  EXPECT_EQ(s.events.back().kind, ScriptEvent::Kind::kUp);  // the press's release at 50.5 ms
  EXPECT_EQ(s.events.back().tick, 50 * 300 + 150);
  for (const char* name :
       {"mouse-left", "mouse-right", "backspace", "tab", "enter", "escape", "space", "arrow-left",
        "arrow-up", "arrow-right", "arrow-down", "key-1", "key-2", "vk-0"}) {
    EXPECT_GE(VirtualKeyOfName(name), 0) << name;
  }
  EXPECT_EQ(VirtualKeyOfName("vk-"), -1);
  EXPECT_EQ(VirtualKeyOfName("vk-1x"), -1);
}

TEST(HeadlessTime, QueriesStepAndFlipsLandOnFrameBoundaries) {
  auto p = StartRun("");
  EXPECT_EQ(p->ReadClock(), 10000);  // t = 0.01
  p->KeyDown(vk::kReturn);
  p->MousePosition();
  p->DisplayStatus();
  p->Yield();
  EXPECT_EQ(p->NowTicks(), 15);
  Surface back = p->MakeSurface(672, 512);
  p->Flip(back, {16, 16, 656, 496});
  EXPECT_EQ(p->NowTicks(), 5000);
  p->Flip(back, {16, 16, 656, 496});  // strictly later even on a boundary
  EXPECT_EQ(p->NowTicks(), 10000);
  for (int i = 0; i < 58; ++i) p->Flip(back, {16, 16, 656, 496});
  EXPECT_EQ(p->ReadClock(), 11000);  // 60 frames are exactly one second
  EXPECT_EQ(p->FramesShown(), 60);
}

TEST(HeadlessTime, EventsActAtTheFirstQueryAtOrAfterTheirTime) {
  auto p = StartRun("0.02 mouse 700 -3\n1 close\n");
  EXPECT_EQ(p->MousePosition(), Point(0, 0));    // t = 0.01
  EXPECT_EQ(p->MousePosition(), Point(639, 0));  // t = 0.02, clamped
  while (p->NowTicks() < 297) p->ReadClock();
  EXPECT_FALSE(p->QuitRequested());
  p->ReadClock();  // t = 1.00
  EXPECT_TRUE(p->QuitRequested());
}

TEST(HeadlessInput, KeyLatchSeesAPressOnceAndPressReleasesAfter50Ms) {
  auto p = StartRun("0 down enter\n0 up enter\n1 press escape\n");
  EXPECT_TRUE(p->KeyDown(vk::kReturn));   // released already, but latched
  EXPECT_FALSE(p->KeyDown(vk::kReturn));  // seen once only
  EXPECT_FALSE(p->KeyDown(300));
  EXPECT_FALSE(p->KeyDown(-1));
  Surface back = p->MakeSurface(640, 480);
  p->Flip(back, {});  // 16.67 ms
  EXPECT_TRUE(p->KeyDown(vk::kEscape));
  EXPECT_TRUE(p->KeyDown(vk::kEscape));  // still held
  p->Flip(back, {});
  p->Flip(back, {});  // 50 ms: not yet 51
  EXPECT_TRUE(p->KeyDown(vk::kEscape));
  p->Flip(back, {});  // 66.67 ms
  EXPECT_FALSE(p->KeyDown(vk::kEscape));
}

TEST(HeadlessInput, CharactersArriveOnePerYield) {
  auto p = StartRun("0 type a\xC3\xB6\n0 press enter\n0 char 8\n0 press mouse-left\n");
  std::vector<int> typed;
  p->SetKeyPressHandler([&typed](int c) { typed.push_back(c); });
  p->KeyDown(vk::kLeftButton);
  EXPECT_TRUE(typed.empty());  // only a yield types
  for (int i = 0; i < 6; ++i) p->Yield();
  EXPECT_EQ(typed, (std::vector<int>{'a', 0xF6, 13, 8}));
}

TEST(HeadlessDisplay, LoseDisplayLastsItsTime) {
  auto p = StartRun("10 lose-display 5\n");
  std::vector<std::pair<std::int64_t, int>> seen;
  while (p->NowTicks() < 20 * 300) {
    const int status = p->DisplayStatus();
    if (seen.empty() || seen.back().second != status) seen.emplace_back(p->NowTicks(), status);
  }
  EXPECT_EQ(seen, (std::vector<std::pair<std::int64_t, int>>{{3, 0}, {3000, 1}, {4500, 0}}));
}

TEST(HeadlessRunner, StopsSixtySecondsAfterTheLastEvent) {
  auto p = StartRun("1000 press enter\n");
  Surface back = p->MakeSurface(640, 480);
  EXPECT_THROW(
      {
        for (int i = 0; i < 100000; ++i) p->Flip(back, {});
      },
      HeadlessTimeout);
  EXPECT_GT(p->NowMs(), 61050.0);
  EXPECT_LT(p->NowMs(), 61070.0);
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

TEST(HeadlessRunner, MessageBoxesAreLoggedAndConfirmed) {
  auto p = StartRun("");
  p->Events().KeepInMemory(true);
  p->ReadClock();
  p->ShowMessageBox("Hinweis", "Audiohardware nicht gefunden !");
  EXPECT_EQ(p->Events().Text(),
            "{\"t\":0,\"event\":\"messagebox\",\"title\":\"Hinweis\",\"text\":"
            "\"Audiohardware nicht gefunden !\"}\n");
  EXPECT_EQ(p->ProgramFolder().back(), '/');
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HeadlessShots, TheNextFrameIsWrittenTheSameOnEveryRun) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("mw_shots_" + std::to_string(::getpid()));
  std::vector<std::string> runs;
  for (int run = 0; run < 2; ++run) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    HeadlessOptions options;
    options.shots_dir = dir.string();
    auto p = StartRun("20 shot frame\n", options);
    Surface back = p->MakeSurface(672, 512);
    back.FillRect({}, back.MapColour(Rgb(0, 0, 255)));
    back.FillRect({16, 16, 26, 26}, back.MapColour(Rgb(255, 255, 255)));
    back.SetTextFont({"Arial", 20, true});
    back.SetTextColor(Rgb(255, 255, 0));
    back.DrawTextAt(100, 100, "M\xF6wenschuss");
    p->Flip(back, {16, 16, 656, 496});  // 16.67 ms: before the shot
    EXPECT_FALSE(std::filesystem::exists(dir / "frame.png"));
    EXPECT_EQ(p->FramePixel(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(p->FramePixel(10, 10), Rgb(0, 0, 255));
    p->Flip(back, {16, 16, 656, 496});
    runs.push_back(ReadFile(dir / "frame.png"));
  }
  std::filesystem::remove_all(dir);
  ASSERT_GT(runs[0].size(), 100u);
  EXPECT_EQ(runs[0].substr(1, 3), "PNG");
  EXPECT_EQ(runs[0], runs[1]);
}

}  // namespace
}  // namespace mw
