// The file code on Windows: UTF-8 paths with umlauts reach the right files,
// and what the system refuses comes back as the player's German reason.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/os/environment.h"
#include "platform/os/file_storage.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class WindowsFileStorage : public ::testing::Test {
 protected:
  WindowsFileStorage() {
    dir_ = fs::temp_directory_path() / (L"mw_storage_" + std::to_wstring(GetCurrentProcessId()) +
                                        L"_" + std::to_wstring(GetTickCount64()));
    fs::create_directories(dir_);
  }
  ~WindowsFileStorage() override {
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  // The path as the game holds it: UTF-8, with forward slashes.
  std::string PathOf(const std::string& utf8_name) const {
    return reinterpret_cast<const char*>(dir_.generic_u8string().c_str()) + ("/" + utf8_name);
  }
  static Bytes Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  int EntriesIn(const fs::path& folder) const {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
  }

  fs::path dir_;
};

TEST_F(WindowsFileStorage, AFolderNamedWithUmlautsHoldsTheTable) {
  // Mixed separators, as OEDIR and the program folder may give them.
  const std::string folder = PathOf("Jörg\\Spiel/Daten");
  ASSERT_EQ(CreateFolders(folder), "");
  EXPECT_EQ(CreateFolders(folder + "\\"), "");  // already there is fine
  EXPECT_TRUE(FolderIsWritable(folder));
  EXPECT_TRUE(FolderIsWritable(folder + "/"));

  const std::string path = folder + "\\highscores.pdk";
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{1, 2, 3}), "");
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{4, 5}), "");
  // The system sees the umlaut, not its UTF-8 bytes read as a code page.
  const fs::path wide = dir_ / L"J\u00f6rg" / L"Spiel" / L"Daten";
  EXPECT_EQ(Contents(wide / L"highscores.pdk"), (Bytes{4, 5}));
  EXPECT_EQ(EntriesIn(wide), 1);  // no temporaries and no probe left

  const FileReadResult read = ReadFilePrefix(path, 1);
  EXPECT_EQ(read.status, FileReadResult::Status::kRead);
  EXPECT_EQ(read.bytes, Bytes{4});

  std::string reason;
  std::FILE* log = OpenStreamForWriting(folder + "/ereignisse.jsonl", reason);
  ASSERT_NE(log, nullptr) << reason;
  std::fputs("{}\n", log);
  EXPECT_EQ(SyncStreamToDisk(log), "");
  std::fclose(log);
  EXPECT_EQ(Contents(wide / L"ereignisse.jsonl").size(), 3u);
}

TEST_F(WindowsFileStorage, MissingFilesAndFoldersAreMissingAndNothingIsMade) {
  EXPECT_EQ(ReadFilePrefix(PathOf("none.pdk"), 100).status, FileReadResult::Status::kMissing);
  EXPECT_EQ(ReadFilePrefix(PathOf("no/such/none.pdk"), 100).status,
            FileReadResult::Status::kMissing);
  EXPECT_EQ(ReplaceFileDurably(PathOf("no/highscores.pdk"), Bytes{1}),
            "Der Ordner existiert nicht");
  EXPECT_FALSE(FolderIsWritable(PathOf("no")));
  EXPECT_FALSE(FolderIsWritable(""));
  EXPECT_EQ(EntriesIn(dir_), 0);
}

TEST_F(WindowsFileStorage, AFolderOrAFileInTheWrongPlaceIsAClearFailure) {
  fs::create_directory(dir_ / L"highscores.pdk");
  const FileReadResult read = ReadFilePrefix(PathOf("highscores.pdk"), 100);
  EXPECT_EQ(read.status, FileReadResult::Status::kFailed);
  EXPECT_EQ(read.reason, "Es ist keine normale Datei");
  EXPECT_EQ(ReplaceFileDurably(PathOf("highscores.pdk"), Bytes{1}), "Es ist keine normale Datei");
  EXPECT_TRUE(fs::is_directory(dir_ / L"highscores.pdk"));

  ASSERT_EQ(ReplaceFileDurably(PathOf("plain"), Bytes{1}), "");
  EXPECT_EQ(CreateFolders(PathOf("plain/sub")), "Ein Teil des Pfades ist kein Ordner");
  EXPECT_EQ(CreateFolders(PathOf("plain")), "Ein Teil des Pfades ist kein Ordner");
  EXPECT_EQ(ReadFilePrefix(PathOf("plain/highscores.pdk"), 100).reason,
            "Ein Teil des Pfades ist kein Ordner");
  EXPECT_EQ(ReplaceFileDurably(PathOf("plain/highscores.pdk"), Bytes{1}),
            "Ein Teil des Pfades ist kein Ordner");
}

TEST_F(WindowsFileStorage, AReadOnlyTableIsRefusedAndKeptAsItWas) {
  const std::string path = PathOf("highscores.pdk");
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{1, 2, 3}), "");
  const fs::path wide = dir_ / L"highscores.pdk";
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ReplaceFileDurably(path, Bytes{4, 5, 6}), "Zugriff verweigert");
  EXPECT_EQ(Contents(wide), (Bytes{1, 2, 3}));
  EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(EntriesIn(dir_), 1);
}

// A virus scanner or a backup may hold the table open without sharing it.
TEST_F(WindowsFileStorage, ATableHeldByAnotherProgramIsAClearFailure) {
  const std::string path = PathOf("highscores.pdk");
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{1, 2, 3}), "");
  const fs::path wide = dir_ / L"highscores.pdk";
  const HANDLE held =
      CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFilePrefix(path, 100).reason, "Die Datei ist von einem anderen Programm geöffnet");
  const std::string replaced = ReplaceFileDurably(path, Bytes{4});
  CloseHandle(held);
  EXPECT_NE(replaced, "");
  EXPECT_EQ(Contents(wide), (Bytes{1, 2, 3}));
  EXPECT_EQ(EntriesIn(dir_), 1);
}

TEST_F(WindowsFileStorage, AHiddenTableStaysHidden) {
  const std::string path = PathOf("highscores.pdk");
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{1}), "");
  const fs::path wide = dir_ / L"highscores.pdk";
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_EQ(ReplaceFileDurably(path, Bytes{2}), "");
  EXPECT_EQ(Contents(wide), Bytes{2});
  EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(WindowsFileStorage, ANewFileNeverReplacesAnOlderOne) {
  const std::string path = PathOf("bild.png");
  EXPECT_EQ(WriteNewFile(path, Bytes{1}).status, NewFileResult::Status::kWritten);
  EXPECT_EQ(WriteNewFile(path, Bytes{2}).status, NewFileResult::Status::kExists);
  EXPECT_EQ(Contents(dir_ / L"bild.png"), Bytes{1});
}

// A path from the system's code page instead of UTF-8 ("J\xF6rg" in
// Windows-1252) must not quietly name some other file.
TEST_F(WindowsFileStorage, PathsThatAreNotUtf8AreRefused) {
  const std::string cp1252 = PathOf("J\xF6rg.pdk");
  EXPECT_EQ(ReadFilePrefix(cp1252, 10).reason, "Der Pfad enthält ungültige Zeichen");
  EXPECT_EQ(ReplaceFileDurably(cp1252, Bytes{1}), "Der Pfad enthält ungültige Zeichen");
  EXPECT_EQ(CreateFolders(cp1252), "Der Pfad enthält ungültige Zeichen");
  EXPECT_EQ(EntriesIn(dir_), 0);
}

TEST(WindowsEnvironment, ValuesAreReadAsUtf8) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"MW_TEST_OEDIR", L"C:\\Users\\J\u00f6rg\\Spiel"));
  EXPECT_EQ(ReadEnvironment("MW_TEST_OEDIR"), "C:\\Users\\Jörg\\Spiel");
  ASSERT_TRUE(SetEnvironmentVariableW(L"MW_TEST_OEDIR", L""));
  EXPECT_EQ(ReadEnvironment("MW_TEST_OEDIR"), "");
  ASSERT_TRUE(SetEnvironmentVariableW(L"MW_TEST_OEDIR", nullptr));
  EXPECT_EQ(ReadEnvironment("MW_TEST_OEDIR"), std::nullopt);
}

}  // namespace
}  // namespace mw

#endif  // _WIN32
