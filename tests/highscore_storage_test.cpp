// The file code under the high-score file: what a read takes, how a save
// replaces the file, and saves that fail or are killed. (A folder in the
// file's place, a missing folder and full or read-only disks are tested on
// the high-score screen.)

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hardening_sandbox.h"
#include "highscores/high_score_format.h"
#include "platform/os/file_storage.h"
#include "platform/os/file_storage_common.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class HighScoreStorage : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  static Bytes Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static bool RunningAsRoot() { return ::geteuid() == 0; }

  test::TempFolder folder_{"mw_hs_storage"};
  const fs::path& dir_ = folder_.Path();
};

// A missing file is no failure and reading creates nothing; a pipe in the
// file's place is never waited on; a read takes the bounded prefix only.
TEST_F(HighScoreStorage, ReadsOnlyNormalFilesAndTheBoundedPrefix) {
  EXPECT_EQ(ReadFilePrefix(PathOf("no/such/none.pdk"), 100).status,
            FileReadResult::Status::kMissing);
  EXPECT_EQ(ReadFilePrefix(PathOf("none.pdk"), 100).status, FileReadResult::Status::kMissing);
  EXPECT_FALSE(fs::exists(PathOf("none.pdk")));
  ASSERT_EQ(::mkfifo(PathOf("pipe.pdk").c_str(), 0600), 0);
  EXPECT_EQ(ReadFilePrefix(PathOf("pipe.pdk"), 100).status, FileReadResult::Status::kFailed);

  ASSERT_EQ(ReplaceFileDurably(PathOf("big.pdk"), Bytes(5000, 0x42)), "");
  const FileReadResult read = ReadFilePrefix(PathOf("big.pdk"), 1275);
  EXPECT_EQ(read.status, FileReadResult::Status::kRead);
  EXPECT_EQ(read.bytes, Bytes(1275, 0x42));
}

// A file that grows while it is read (it said 100 bytes when asked) is read
// to its end, up to the limit.
TEST(BoundedRead, AFileThatGrowsWhileReadIsReadToItsEndOrTheLimit) {
  const Bytes grown(10'000, 0x42);
  for (const std::size_t limit : {std::size_t{1} << 20, std::size_t{9'000}}) {
    std::size_t given = 0;
    const auto read_chunk = [&](std::span<std::uint8_t> room) {
      const std::size_t n = std::min({room.size(), grown.size() - given, std::size_t{3'000}});
      std::copy_n(grown.begin() + static_cast<std::ptrdiff_t>(given), n, room.begin());
      given += n;
      return ChunkRead{n, {}};
    };
    const FileReadResult read = ReadBoundedPrefix(100, limit, read_chunk);
    EXPECT_EQ(read.status, FileReadResult::Status::kRead);
    EXPECT_EQ(read.bytes, Bytes(grown.begin(), grown.begin() + static_cast<std::ptrdiff_t>(
                                                                   std::min(limit, grown.size()))));
  }
}

// A program started with its standard input closed gets descriptor 0 for the
// first file it opens: a save and a read must work all the same.
TEST_F(HighScoreStorage, ASaveAndAReadWorkWhenTheirFileGetsDescriptorZero) {
  const int kept_stdin = ::dup(0);
  ASSERT_GE(kept_stdin, 0);
  ::close(0);
  const std::string reason = ReplaceFileDurably(PathOf("zero.pdk"), Bytes(3, 7));
  const FileReadResult read = ReadFilePrefix(PathOf("zero.pdk"), 100);
  ::dup2(kept_stdin, 0);
  ::close(kept_stdin);
  EXPECT_EQ(reason, "");
  EXPECT_EQ(Contents(PathOf("zero.pdk")), Bytes(3, 7));
  EXPECT_EQ(read.status, FileReadResult::Status::kRead);
  EXPECT_EQ(read.bytes, Bytes(3, 7));
}

TEST_F(HighScoreStorage, ReplaceKeepsPermissionsFollowsLinksAndLeavesNoTemporaries) {
  const std::string real = PathOf("real.pdk");
  ASSERT_EQ(ReplaceFileDurably(real, Bytes{1}), "");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, PathOf("link.pdk"));

  ASSERT_EQ(ReplaceFileDurably(PathOf("link.pdk"), Bytes{7, 8, 9}), "");
  EXPECT_TRUE(fs::is_symlink(PathOf("link.pdk")));
  EXPECT_EQ(Contents(real), (Bytes{7, 8, 9}));
  EXPECT_EQ(fs::status(real).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 2);
}

// Leftovers of a killed save, even under the very names this process would
// pick, neither stop the next save nor end up as the table.
TEST_F(HighScoreStorage, StaleTemporariesOfAKilledSaveDoNotStopTheNext) {
  const std::string path = PathOf("highscores.pdk");
  const std::string own = path + ".tmp" + std::to_string(::getpid()) + "-";
  for (const std::string& stale : {own + "0", own + "1", path + ".tmp1-0"}) {
    std::ofstream(stale, std::ios::binary) << "\x07garbage";
  }
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{1, 2, 3}), "");
  EXPECT_EQ(Contents(path), (Bytes{1, 2, 3}));
}

TEST_F(HighScoreStorage, UnwritableFolderFailsWithAReasonAndKeepsTheOldFile) {
  if (RunningAsRoot()) GTEST_SKIP() << "root writes everywhere";
  const std::string path = PathOf("highscores.pdk");
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{1, 2, 3}), "");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(FolderIsWritable(dir_.string()));
  EXPECT_EQ(ReplaceFileDurably(path, Bytes{4, 5, 6}), "Zugriff verweigert");
  EXPECT_EQ(Contents(path), (Bytes{1, 2, 3}));
}

TEST_F(HighScoreStorage, APathThroughAFileFailsWithAReason) {
  EXPECT_TRUE(FolderIsWritable(dir_.string()));
  EXPECT_FALSE(FolderIsWritable(PathOf("missing")));
  ASSERT_EQ(ReplaceFileDurably(PathOf("plain"), Bytes{1}), "");
  EXPECT_EQ(ReplaceFileDurably(PathOf("plain/highscores.pdk"), Bytes{1}),
            "Ein Teil des Pfades ist kein Ordner");
}

// A save killed at any instant leaves a loadable table: the old one or the new.
TEST_F(HighScoreStorage, KilledSaveLeavesTheOldOrTheNewTable) {
  const std::string path = PathOf("highscores.pdk");
  HighScoreRanks old_ranks;
  HighScoreRanks new_ranks;
  for (std::size_t i = 0; i < old_ranks.size(); ++i) {
    const auto score = static_cast<std::int32_t>(1000 - 100 * i);
    old_ranks[i] = {"alt" + std::to_string(i), score};
    new_ranks[i] = {std::string(18, static_cast<char>('n' + i)), score + 1};
  }
  const Bytes old_bytes = EncodeHighScores(old_ranks);
  const Bytes new_bytes = EncodeHighScores(new_ranks);

  for (int round = 0; round < 60; ++round) {
    ASSERT_EQ(ReplaceFileDurably(path, old_bytes), "");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        ReplaceFileDurably(path, new_bytes);
        ReplaceFileDurably(path, old_bytes);
      }
    }
    // Kill it at a different moment each round, from at once to a few saves in.
    ::usleep(static_cast<useconds_t>((round * 397) % 8000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    const FileReadResult read = ReadFilePrefix(path, kHighScoreBytesUsed);
    ASSERT_EQ(read.status, FileReadResult::Status::kRead);
    ASSERT_TRUE(read.bytes == old_bytes || read.bytes == new_bytes) << "round " << round;
    EXPECT_FALSE(ParseHighScores(read.bytes).cheat_flag);
  }
}

}  // namespace
}  // namespace mw
