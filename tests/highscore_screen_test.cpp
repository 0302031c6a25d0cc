#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "highscore_temp_folder.h"
#include "highscores/high_score_file.h"
#include "highscores/high_score_format.h"
#include "highscores/high_score_screen.h"
#include "highscores/high_score_visit.h"
#include "platform/cp1252.h"
#include "platform/file_storage.h"
#include "platform/headless_platform.h"
#include "platform/script.h"
#include "shared/display_state.h"
#include "shared/session.h"
#include "test_world.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int16_t kGameTime1m30 = 0;
constexpr std::int16_t kGameTime12m = 3;

// Each test gets a fresh folder as the file's prefix (OEDIR), so the table
// never touches the source tree or the build folder.
class HighScoreScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ChooseDefaultSettings(session_);
    session_.setting_choice[kGameTime] = kGameTime12m;
  }

  // A platform running the script, with the display open and the shell's
  // BackBuffer made.
  HeadlessPlatform& Start(const std::string& script) {
    platform_ = MakeHeadlessPlatform(ParseScript(script, "test"), HeadlessOptions{});
    platform_->Events().KeepInMemory(true);
    platform_->OpenDisplay();
    MakeMenuBackBuffer(*platform_, display_);
    return *platform_;
  }

  std::string Prefix() const { return dir_.string() + "/"; }
  std::string FilePath() const { return (dir_ / "highscores.pdk").string(); }
  void WriteTable(const HighScoreRanks& ranks) const { WriteBytes(EncodeHighScores(ranks)); }
  void WriteBytes(const Bytes& bytes) const {
    std::ofstream out(FilePath(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  Bytes FileBytes() const {
    std::ifstream in(FilePath(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  ParsedHighScores SavedTable() const { return ParseHighScores(FileBytes()); }

  static HighScoreRanks Table(const std::array<std::int32_t, 5>& scores) {
    HighScoreRanks ranks;
    for (std::size_t i = 0; i < ranks.size(); ++i) {
      ranks[i] = {"Spieler" + std::to_string(i + 1), scores[i]};
    }
    return ranks;
  }

  void Show(std::int32_t score) {
    GuardedNumber holder;
    holder.SetValue(score);
    ShowHighScores(*platform_, session_, display_, holder, Prefix());
    EXPECT_EQ(holder.Value(), score);
  }

  std::string Events() const { return platform_->Events().Text(); }

  HighScoreTempFolder folder_{"mw_hs_screen"};
  const fs::path& dir_ = folder_.Path();
  Session session_;
  DisplayState display_;
  std::unique_ptr<HeadlessPlatform> platform_;
};

TEST_F(HighScoreScreen, NewScoreIsInsertedNamedAndSaved) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  Start("100 type Jörg\n300 press enter\n");
  Show(50);
  const ParsedHighScores saved = SavedTable();
  EXPECT_FALSE(saved.cheat_flag);
  EXPECT_EQ(saved.entries[3], (PlainHighScore{Utf8ToCp1252("Jörg"), 50}));
  EXPECT_EQ(saved.entries[4], (PlainHighScore{"Spieler4", 40}));
  EXPECT_EQ(saved.entries[2], (PlainHighScore{"Spieler3", 60}));
  EXPECT_NE(Events().find("\"event\":\"screen\",\"name\":\"highscores\""), std::string::npos);
  EXPECT_NE(Events().find("\"action\":\"saved\""), std::string::npos);
}

TEST_F(HighScoreScreen, FirstVisitFromTheMenuWritesTheDefaultFileAndReadingCreatesNothing) {
  Start("100 press escape\n");
  GuardedNumber none;
  none.SetValue(-200);
  HighScoreVisit visit = OpenHighScoreVisit(*platform_, session_, none, Prefix());
  EXPECT_FALSE(fs::exists(FilePath()));
  EXPECT_EQ(visit.entry_row, kNoEntryRow);
  PassResult outcome = PassResult::kStay;
  while (outcome == PassResult::kStay) {
    outcome = RunHighScorePass(*platform_, session_, display_, visit, platform_->ReadInput());
  }
  LeaveHighScoreVisit(*platform_, session_, visit, outcome);
  HighScoreRanks defaults;
  defaults.fill(DefaultHighScore());
  EXPECT_EQ(FileBytes(), EncodeHighScores(defaults));
  EXPECT_EQ(FileBytes().size(), 65u);
}

TEST_F(HighScoreScreen, ScoreIsStoredPerTwelveMinutesAndShownPerSelectedTime) {
  session_.setting_choice[kGameTime] = kGameTime1m30;
  Start("100 press enter\n");
  Show(125);
  EXPECT_EQ(SavedTable().entries[0].score, 1000);

  // Shown back as 125 at 1:30 and as 1000 at 12:00.
  for (const auto& [choice, shown] : {std::pair{kGameTime1m30, "125"}, {kGameTime12m, "1000"}}) {
    session_.setting_choice[kGameTime] = choice;
    EXPECT_EQ(DisplayedScore(SavedTable().entries[0].score, SettingValue(session_, kGameTime)),
              shown);
  }
}

TEST_F(HighScoreScreen, ScoreBelowTheTableIsShownAt400And400) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  Start("1000 press enter\n");
  GuardedNumber holder;
  holder.SetValue(20);  // a tie with the fifth stays out
  HighScoreVisit visit = OpenHighScoreVisit(*platform_, session_, holder, Prefix());
  ASSERT_EQ(visit.entry_row, kNoEntryRow);
  const Point mouse{200, 100};
  ASSERT_EQ(RunHighScorePass(*platform_, session_, display_, visit, test::Input().Mouse(mouse)),
            PassResult::kStay);

  // "20" in the pulse colour at (400, 400), below the five rows.
  const std::uint32_t green = display_.back_buffer.MapColour(Rgb(5, 254, 0));
  int pulse = 0;
  for (int y = 400; y < 430; ++y) {
    for (int x = 400; x < 440; ++x) pulse += display_.back_buffer.PixelAt(x, y) == green;
  }
  EXPECT_GT(pulse, 20);
  EXPECT_NE(platform_->FramePixel(400 - 16 + 2, 400 - 16 + 10), Rgb(0, 0, 0));
}

TEST_F(HighScoreScreen, EveryCharacterTypedBetweenTwoPassesCountsInOrder) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  Start("");
  GuardedNumber holder;
  holder.SetValue(1000);
  HighScoreVisit visit = OpenHighScoreVisit(*platform_, session_, holder, Prefix());
  ASSERT_EQ(visit.entry_row, 1);
  auto pass = [&](const test::Input& input) {
    return RunHighScorePass(*platform_, session_, display_, visit, input);
  };
  auto name = [&] { return visit.table[1].entry_name.Text(); };

  pass(test::Input().Typed("abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(name(), "abcdefghijklmnopqr|") << "the name limit, not the pass, cuts it";
  pass(test::Input().Typed(std::string(19, '\b')));
  EXPECT_EQ(name(), "|");
  // Every code from 32 to 255 is a character of a name.
  for (int first = 32; first <= 255; first += 17) {
    std::string burst;
    for (int code = first; code < first + 17 && code <= 255; ++code) {
      burst.push_back(static_cast<char>(code));
    }
    pass(test::Input().Typed(burst));
    EXPECT_EQ(name(), burst + "|") << "from " << first;
    pass(test::Input().Typed(std::string(burst.size(), '\b')));
  }
  // Backspace and the ignored Tab act in their place within the burst.
  pass(test::Input().Typed("Mx\b\xF6\twe"));
  EXPECT_EQ(name(), "M\xF6we|");
  // Characters typed in the pass that leaves still count.
  ASSERT_EQ(pass(test::Input().Typed("!").Tapped(vk::kReturn)), PassResult::kLeave);
  LeaveHighScoreVisit(*platform_, session_, visit, PassResult::kLeave);
  EXPECT_EQ(SavedTable().entries[0], (PlainHighScore{"M\xF6we!", 1000}));
}

TEST_F(HighScoreScreen, LeavesOnlyAfterAllThreeKeysWereUpOnce) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  // The button is still held from shooting; Escape arrives while it is held.
  Start(
      "0 down mouse-left\n"
      "200 press escape\n"
      "400 up mouse-left\n"
      "600 down enter\n"
      "900 up enter\n");
  Show(30);
  // Left at the Enter press, saved only once Enter was let go.
  EXPECT_GE(platform_->NowMs(), 900.0);
  EXPECT_GE(platform_->FramesShown(), 600 / 17);
  EXPECT_EQ(SavedTable().entries[4].score, 30);
}

TEST_F(HighScoreScreen, AQuickTapBetweenTwoPassesStillLeaves) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  // Enter goes down and up again within one pass, as a fast key tap does.
  Start("300 down enter\n300.005 up enter\n");
  EXPECT_NO_THROW(Show(0));
  EXPECT_LT(platform_->NowMs(), 400.0);
}

TEST_F(HighScoreScreen, CloseRequestSavesTheNameTypedSoFar) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  // Enter is held and never let go: a close must not wait for it.
  Start("0 down enter\n100 type Möwe\n300 close\n");
  Show(500);
  EXPECT_EQ(SavedTable().entries[0], (PlainHighScore{Utf8ToCp1252("Möwe"), 500}));
  EXPECT_LT(platform_->NowMs(), 400.0);
}

TEST_F(HighScoreScreen, LostDisplayForgetsClicksAndKeepsTheName) {
  WriteTable(Table({100, 80, 60, 40, 20}));
  Start(
      "50 type Ab\n"
      "200 lose-display 300\n"
      "250 press enter\n"
      "700 type c\n"
      "900 press enter\n");
  Show(90);
  EXPECT_GE(platform_->NowMs(), 900.0);
  EXPECT_EQ(SavedTable().entries[1], (PlainHighScore{"Abc", 90}));
}

TEST_F(HighScoreScreen, DamagedFileIsShownButNeverOverwritten) {
  Bytes damaged = EncodeHighScores(Table({100, 80, 60, 40, 20}));
  damaged[4] ^= 0x01;
  WriteBytes(damaged);
  Start("100 type Neu\n300 press enter\n2000 press enter\n");
  Show(5000);
  EXPECT_TRUE(session_.cheat_flag);
  EXPECT_EQ(FileBytes(), damaged);
  const std::string events = Events();
  EXPECT_NE(events.find("\"action\":\"refused\""), std::string::npos);
  EXPECT_NE(events.find("\"title\":\"Allgemeiner Fehler\""), std::string::npos);
  EXPECT_NE(events.find("Fehler 718 beim Speichern der Highscores. Wenn dieser Fehler öfter "
                        "auftritt, kontaktieren Sie bitte den Hersteller unter "
                        "highscores@moewenschuss.example.org"),
            std::string::npos);
  // The flag stays for the run: the next visit is refused as well.
  Show(-200);
  EXPECT_EQ(FileBytes(), damaged);
}

// A score edited in memory, in the table or in the game's holder, is never
// saved, in that visit or a later one.
TEST_F(HighScoreScreen, AnEditedScoreIsNeverSaved) {
  const Bytes table = EncodeHighScores(Table({100, 80, 60, 40, 20}));
  WriteBytes(table);
  Start("300 press enter\n");
  GuardedNumber holder;
  holder.SetValue(90);
  HighScoreVisit visit = OpenHighScoreVisit(*platform_, session_, holder, Prefix());
  visit.table[3].entry_score.TamperForTest(0x100);
  visit.table[3].entry_score.Value();  // the screen reads every score when it draws
  LeaveHighScoreVisit(*platform_, session_, visit, PassResult::kClose);
  EXPECT_EQ(FileBytes(), table);
  EXPECT_NE(Events().find("\"action\":\"refused\""), std::string::npos);

  Session clean;
  ChooseDefaultSettings(clean);
  GuardedNumber edited;
  edited.SetValue(70);
  edited.TamperForTest(1);
  OpenHighScoreVisit(*platform_, clean, edited, Prefix());
  EXPECT_TRUE(clean.cheat_flag);
}

TEST_F(HighScoreScreen, UnreadableFileShowsDefaultsAndIsLeftAlone) {
  fs::create_directory(FilePath());
  Start("300 press enter\n");
  GuardedNumber holder;
  holder.SetValue(70);
  HighScoreVisit visit = OpenHighScoreVisit(*platform_, session_, holder, Prefix());
  EXPECT_EQ(visit.table[1].entry_score.Value(), 70);
  EXPECT_EQ(visit.table[2].entry_name.Text(), "niemand");
  EXPECT_FALSE(session_.cheat_flag);
  LeaveHighScoreVisit(*platform_, session_, visit, PassResult::kClose);
  EXPECT_TRUE(fs::is_directory(FilePath()));
  const std::string events = Events();
  EXPECT_NE(events.find("\"event\":\"messagebox\",\"title\":\"Highscores\""), std::string::npos);
  EXPECT_NE(events.find(FilePath()), std::string::npos);
  EXPECT_NE(events.find("\"action\":\"failed\""), std::string::npos);
}

// Reading a file in a missing folder finds no table, which is no fault; only
// the save on leaving fails, and says so.
TEST_F(HighScoreScreen, AFailedSaveIsReportedOnLeavingAndCreatesNothing) {
  const std::string missing = dir_.string() + "/nowhere/";
  Start("300 press enter\n");
  GuardedNumber holder;
  holder.SetValue(70);
  ShowHighScores(*platform_, session_, display_, holder, missing);
  EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
  const std::string events = Events();
  EXPECT_NE(events.find("\"event\":\"messagebox\",\"title\":\"Highscores\""), std::string::npos);
  EXPECT_NE(events.find(missing + "highscores.pdk"), std::string::npos) << events;
  EXPECT_NE(events.find("Der Ordner existiert nicht"), std::string::npos) << events;
  EXPECT_NE(events.find("\"action\":\"failed\""), std::string::npos);
}

TEST_F(HighScoreScreen, FileWithoutReadPermissionIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads everything";
  const Bytes table = EncodeHighScores(Table({100, 80, 60, 40, 20}));
  WriteBytes(table);
  fs::permissions(FilePath(), fs::perms::owner_write);
  Start("100 type Neu\n300 press enter\n");
  Show(1000);
  fs::permissions(FilePath(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FileBytes(), table);
  EXPECT_NE(Events().find("Zugriff verweigert"), std::string::npos);
}

TEST_F(HighScoreScreen, OedirIsUsedUnchangedAndOnlyWhenUsable) {
  Start("");
  EXPECT_EQ(HighScoreDir(*platform_, Prefix()), dir_.string() + "/");
  const std::string no_slash = dir_.string() + "/x";
  EXPECT_EQ(HighScoreDir(*platform_, no_slash), no_slash);
  GuardedNumber holder;
  HighScoreVisit visit = OpenHighScoreVisit(*platform_, session_, holder, no_slash);
  EXPECT_EQ(visit.file.path, dir_.string() + "/xhighscores.pdk");

  const std::string program = platform_->ProgramFolder();
  const std::string fallback = FolderIsWritable(program) ? program : platform_->UserDataFolder();
  EXPECT_EQ(HighScoreDir(*platform_, ""), fallback);
  EXPECT_EQ(HighScoreDir(*platform_, std::string(255, 'd')), fallback);
  EXPECT_EQ(HighScoreDir(*platform_, std::string(254, 'd')), std::string(254, 'd'));
}

TEST_F(HighScoreScreen, NamesWithControlBytesFromAnotherToolAreShownAndKeptAsTheyAre) {
  HighScoreRanks odd = Table({100, 80, 60, 40, 20});
  odd[0].name = std::string("\0\0", 2);
  odd[1].name = std::string("a\0b\x01\x1F", 5);
  odd[2].name = std::string(249, '\xFF');
  WriteTable(odd);
  Start("100 press enter\n");
  Show(-200);
  EXPECT_EQ(SavedTable().entries, odd);
}

}  // namespace
}  // namespace mw
