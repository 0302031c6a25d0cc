// The high-score screen where the golden runs cannot go: a score edited in
// memory, a file that cannot be read or saved (a folder in its place, a
// missing folder, a read-only or a full disk), and where OEDIR puts the file.

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "hardening_sandbox.h"
#include "highscores/high_score_file.h"
#include "highscores/high_score_format.h"
#include "highscores/high_score_visit.h"
#include "test_world.h"

namespace mw {
namespace {

namespace fs = std::filesystem;

// A visit of the screen with a holder's score, the file's questions answered
// by the machine: opened, a name typed, left.
struct Visit {
  Visit() : platform(Script{}, test::Options()) {}
  HighScoreVisit Open(const GuardedNumber& holder, const std::string& prefix) {
    return OpenHighScoreVisit(platform, session, holder, prefix, out);
  }
  void TypeAndLeave(HighScoreVisit& visit, const char* name) {
    InputFrame typed;
    typed.typed = name;
    ReadHighScoreInput(visit, typed);
    FinishHighScoreVisit(platform, session, visit, out);
  }
  std::string Log() const {
    EventLog log;
    log.KeepInMemory(true);
    for (const Event& event : out.events) log.Write(event);
    return log.Text();
  }
  HeadlessPlatform platform;
  Session session;
  Outbox out;
};

std::string SomeTable() {
  HighScoreRanks ranks;
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    ranks[i] = {"Spieler" + std::to_string(i + 1), static_cast<std::int32_t>(100 - 20 * i)};
  }
  const std::vector<std::uint8_t> bytes = EncodeHighScores(ranks);
  return {bytes.begin(), bytes.end()};
}

// Every path below root with its bytes ("/" for a folder).
std::vector<std::pair<std::string, std::string>> Contents(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> found;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    found.emplace_back(fs::relative(entry.path(), root).string(),
                       entry.is_directory() ? "/" : test::FileText(entry.path()));
  }
  std::sort(found.begin(), found.end());
  return found;
}

// A small disk of its own at a folder, for as long as it lives, where the
// tests may mount one; otherwise WhyNot says why not.
class Tmpfs {
 public:
  Tmpfs(const fs::path& at, int size_kb) : at_(at) {
    const std::string options = "size=" + std::to_string(size_kb) + "k,mode=0755";
    if (::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      why_not_ = "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) + ")";
    }
  }
  ~Tmpfs() {
    if (why_not_.empty()) ::umount2(at_.c_str(), MNT_DETACH);
  }
  Tmpfs(const Tmpfs&) = delete;
  Tmpfs& operator=(const Tmpfs&) = delete;
  const std::string& WhyNot() const { return why_not_; }
  void ReadOnly() {
    if (::mount(nullptr, at_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      why_not_ = "cannot remount read-only";
    }
  }

 private:
  fs::path at_;
  std::string why_not_;
};

void FillUp(const fs::path& folder) {
  std::FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
  ASSERT_NE(filler, nullptr);
  const std::string block(512, 'x');
  while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
         std::fflush(filler) == 0) {
  }
  std::fclose(filler);
}

// The player is told what went wrong with the file and why; whatever stood
// there before is left exactly as it was, and nothing else is created.
TEST(HighScoreScreen, AFileThatCannotBeReadOrSavedIsToldAndLeftAlone) {
  struct Case {
    const char* name;
    const char* reason;
    std::function<void(const fs::path&, Tmpfs&)> prepare;
    bool on_a_disk_of_its_own = false;
    const char* subfolder = "";
  };
  const std::vector<Case> cases{
      {"a folder in its place", "Es ist keine normale Datei",
       [](const fs::path& dir, Tmpfs&) { fs::create_directory(dir / "highscores.pdk"); }},
      {"a missing folder", "Der Ordner existiert nicht", [](const fs::path&, Tmpfs&) {}, false,
       "nowhere/"},
      {"a read-only disk", "schreibgeschützt",
       [](const fs::path& dir, Tmpfs& disk) {
         test::WriteFile(dir / "highscores.pdk", SomeTable());
         disk.ReadOnly();
       },
       true},
      {"a full disk", "voll",
       [](const fs::path& dir, Tmpfs&) {
         test::WriteFile(dir / "highscores.pdk", SomeTable());
         FillUp(dir);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder folder("mw_hs_problem");
    const fs::path& dir = folder.Path();
    Tmpfs disk(dir, 64);
    c.prepare(dir, disk);
    if (c.on_a_disk_of_its_own && !disk.WhyNot().empty()) {
      std::cout << c.name << " skipped: " << disk.WhyNot() << "\n";
      continue;
    }
    const auto before = Contents(dir);
    Visit v;
    GuardedNumber holder;
    holder.SetValue(5000);
    const std::string prefix = dir.string() + "/" + c.subfolder;
    HighScoreVisit visit = v.Open(holder, prefix);
    v.TypeAndLeave(visit, "Neu");
    const std::string log = v.Log();
    EXPECT_NE(log.find("\"event\":\"messagebox\",\"title\":\"Highscores\""), std::string::npos);
    EXPECT_NE(log.find(prefix + "highscores.pdk"), std::string::npos) << log;
    EXPECT_NE(log.find(c.reason), std::string::npos) << log;
    EXPECT_NE(log.find("\"action\":\"failed\""), std::string::npos) << log;
    EXPECT_EQ(Contents(dir), before);
  }
}

// A score edited in memory, in the table or in the game's holder, is never
// saved, in that visit or a later one.
TEST(HighScoreScreen, AnEditedScoreIsNeverSaved) {
  test::TempFolder folder("mw_hs_edited");
  const fs::path file = folder.Path() / "highscores.pdk";
  const std::string prefix = folder.Path().string() + "/";
  test::WriteFile(file, SomeTable());
  Visit v;
  GuardedNumber holder;
  holder.SetValue(90);
  HighScoreVisit visit = v.Open(holder, prefix);
  visit.table[3].entry_score.TamperForTest(0x100);
  visit.table[3].entry_score.Value();  // the screen reads every score when it draws
  v.TypeAndLeave(visit, "");
  EXPECT_EQ(test::FileText(file), SomeTable());
  EXPECT_NE(v.Log().find("\"action\":\"refused\""), std::string::npos);

  Visit later;
  GuardedNumber edited;
  edited.SetValue(70);
  edited.TamperForTest(1);
  later.Open(edited, prefix);
  EXPECT_TRUE(later.session.cheat_flag);
}

TEST(HighScoreScreen, OedirIsUsedUnchangedAndOnlyWhenUsable) {
  Visit w;
  EXPECT_EQ(HighScoreDir(w.platform, "/some/where/"), "/some/where/");
  EXPECT_EQ(HighScoreDir(w.platform, "/some/where/x"), "/some/where/x");
  GuardedNumber holder;
  EXPECT_EQ(w.Open(holder, "/nowhere/x").file.path, "/nowhere/xhighscores.pdk");

  const std::string program = w.platform.ProgramFolder();
  const std::string fallback = FolderIsWritable(program) ? program : w.platform.UserDataFolder();
  EXPECT_EQ(HighScoreDir(w.platform, ""), fallback);
  EXPECT_EQ(HighScoreDir(w.platform, std::string(255, 'd')), fallback);
  EXPECT_EQ(HighScoreDir(w.platform, std::string(254, 'd')), std::string(254, 'd'));
}

}  // namespace
}  // namespace mw
