#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/run_files.h"
#include "script/event_log.h"
#include "text/cp1252.h"

namespace mw {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheGermanLettersAndTheHighPunctuation) {
  EXPECT_EQ(Cp1252ToUtf8("M\xF6wenschu\xDF"), "Möwenschuß");
  EXPECT_EQ(Cp1252ToUtf8("\x80\x99\x84\x93"), "€™„“");
  EXPECT_EQ(Utf8ToCp1252("ÄÖÜäöüß€"), "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80");
  EXPECT_EQ(CodePointToCp1252(U'\u0178'), 0x9F);
  // C1 controls that 1252 puts letters on are not 1252 characters.
  EXPECT_FALSE(CodePointToCp1252(0x80).has_value());
  EXPECT_EQ(CodePointToCp1252(0x81), 0x81);
}

TEST(Cp1252, DropsWhatItCannotHoldAndBrokenUtf8) {
  EXPECT_EQ(Utf8ToCp1252("a日b😀c"), "abc");
  EXPECT_EQ(Utf8ToCp1252("a\xC0\xAF"
                         "b"),
            "ab");  // overlong '/'
  EXPECT_EQ(Utf8ToCp1252("a\xED\xA0\x80"
                         "b"),
            "ab");  // surrogate
  EXPECT_EQ(Utf8ToCp1252("a\x80"
                         "b\xC3"),
            "ab");                                    // stray and cut-off bytes
  EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80x"), "x");  // above U+10FFFF
  EXPECT_EQ(Utf8ToCp1252("\xC3\x28"), "(");           // bad continuation
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(JsonString("\n\r\t\b\f"), R"("\n\r\t\b\f")");
  EXPECT_EQ(JsonString(std::string("\x01\x1F\x7F", 3)), R"("\u0001\u001f\u007f")");
  EXPECT_EQ(JsonString(std::string("\0", 1)), R"("\u0000")");
  EXPECT_EQ(JsonString("\x81"), R"("\u0081")");
  // A printable character of the same UTF-8 lead byte stays as it is: a
  // no-break space after a letter; a C1 control after one is escaped.
  EXPECT_EQ(JsonString("a\xA0"
                       "b\x9D"),
            "\"a\xC2\xA0"
            "b\\u009d\"");
  EXPECT_EQ(JsonString("M\xF6we \x80"), "\"Möwe €\"");
}

// What was logged is in the file at once, so a crash loses none of it. (The
// lines of every event are in the golden runs' logs; a log that cannot be
// opened is in the exit-status tests.)
TEST(EventLog, EachLineIsInTheFileAtOnce) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("mw_event_log_" + std::to_string(::getpid()));
  EventLog log;
  OutputFile file;
  WriteEventLogTo(log, file, path.string());
  log.SetTime(12);
  log.Write(ScreenEvent{"menu"});
  std::ifstream early(path);
  std::stringstream seen;
  seen << early.rdbuf();
  EXPECT_EQ(seen.str(), "{\"t\":12,\"event\":\"screen\",\"name\":\"menu\"}\n");
  // A sync to the disk that works says so, whatever errno held before it.
  errno = ENOENT;
  EXPECT_EQ(file.SyncToDisk(), "");
  std::filesystem::remove(path);
}

#ifndef _WIN32
// A log sent where nothing can be synced (/dev/null, a pipe) is no failure.
TEST(EventLog, ALogThatCannotBeSyncedIsNoFailure) {
  OutputFile file;
  ASSERT_EQ(file.Open("/dev/null", false), "");
  EXPECT_EQ(file.Write("x"), "");
  EXPECT_EQ(file.SyncToDisk(), "");
}
#endif

}  // namespace
}  // namespace mw
