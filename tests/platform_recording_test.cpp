// The bytes of a recording and the replayer that feeds them back: whatever
// was recorded comes back exactly, and every damaged file is refused with its
// reason.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "input/recording_format.h"
#include "input/replayer.h"
#include "platform/replaying_platform.h"
#include "recording_bytes.h"
#include "test_world.h"

namespace mw {
namespace {

using Kind = RecordedAnswer::Kind;
using test::BytesOf;
using test::EncodeRecording;

Recording Parse(const std::string& bytes) {
  return ParseRecording(BytesOf(bytes), "lauf.rec");
}

Replayer ReplayerOf(const std::vector<RecordEntry>& entries, int exit_status,
                    const std::string& file_name = "lauf.rec") {
  const std::string bytes = EncodeRecording(entries, exit_status);
  return Replayer({bytes.begin(), bytes.end()}, file_name);
}

// The reason a recording is refused, or "" when it is read.
std::string Refusal(const std::string& bytes) {
  try {
    Parse(bytes);
  } catch (const RecordingError& e) {
    return e.what();
  }
  return "";
}

// Frames, pictures and answers of every kind, drawn at random with the
// extremes of every field among them.
std::vector<RecordEntry> RandomRun(std::mt19937& random, int count,
                                   std::size_t max_answer_bytes = 5000) {
  auto below = [&random](std::uint64_t n) {
    return std::uniform_int_distribution<std::uint64_t>(0, n - 1)(random);
  };
  auto text = [&](std::size_t max_length) {
    std::string t(below(max_length + 1), '\0');
    for (char& c : t) c = static_cast<char>(below(256));
    return t;
  };
  std::vector<RecordEntry> entries;
  InputFrame frame;
  for (int i = 0; i < count; ++i) {
    const std::uint64_t what = below(10);
    if (what < 7) {
      frame.clock += below(4) == 0 ? static_cast<std::int64_t>(below(1ull << 40)) : 16;
      for (KeyState& key : frame.keys) key.presses = 0;
      for (std::uint64_t n = below(4); n > 0; --n) {
        KeyState& key = frame.keys[below(vk::kCount)];
        key.down = below(2) == 1;
        key.presses = static_cast<std::uint16_t>(below(3) == 0 ? 65535 : below(3));
      }
      if (below(2) == 0) {
        const std::uint64_t edge = below(10);
        frame.mouse = edge == 0   ? Point{639, 479}
                      : edge == 1 ? Point{0, 0}
                                  : Point{static_cast<std::int32_t>(below(640)),
                                          static_cast<std::int32_t>(below(480))};
      }
      frame.typed = below(3) == 0 ? text(40) : "";
      frame.close_requested = below(8) == 0;
      frame.display_lost = below(8) == 0;
      entries.emplace_back(frame);
    } else if (what == 7) {
      entries.emplace_back(RecordedShot{text(12)});
    } else {
      RecordedAnswer answer;
      answer.kind = static_cast<Kind>(1 + below(8));
      answer.subject = text(30);
      answer.value = below(2) == 0 ? std::numeric_limits<std::uint64_t>::max() : below(3);
      if (answer.kind == Kind::kMessageBox) answer.value = below(2);
      answer.text = text(30);
      const std::string bytes = text(below(4) == 0 ? max_answer_bytes : 70);
      answer.bytes.assign(bytes.begin(), bytes.end());
      entries.emplace_back(answer);
    }
  }
  return entries;
}

// The zip polynomial's check value, so other tools can verify a recording;
// the same wherever a recorder splits the bytes, and for any length: a CRC-32
// of bytes followed by their own CRC is always 0x2144DF1C.
TEST(RecordingFormat, TheChecksumIsTheStandardCrc32) {
  EXPECT_EQ(RecordingCrc(BytesOf("123456789")), 0xCBF43926u);
  std::mt19937 random(11);
  std::vector<std::uint8_t> bytes;
  for (std::size_t length = 0; length <= 70; ++length) {
    const std::uint32_t crc = RecordingCrc(bytes);
    const std::size_t split = length / 3;
    ASSERT_EQ(
        RecordingCrc(std::span(bytes).subspan(split), RecordingCrc(std::span(bytes).first(split))),
        crc)
        << length;
    std::vector<std::uint8_t> closed = bytes;
    for (int i = 0; i < 4; ++i) closed.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    ASSERT_EQ(RecordingCrc(closed), 0x2144DF1Cu) << length << " bytes";
    bytes.push_back(static_cast<std::uint8_t>(random()));
  }
}

TEST(RecordingFormat, EveryEntryComesBackExactly) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 40; ++run) {
    const std::vector<RecordEntry> entries = RandomRun(random, 1 + run * 5);
    const int status = run % 2 == 0 ? 0 : 255;
    const std::string bytes = EncodeRecording(entries, status);
    const Recording read = Parse(bytes);
    ASSERT_EQ(read.entries, entries) << "run " << run;
    EXPECT_EQ(read.exit_status, status);
    EXPECT_EQ(EncodeRecording(read.entries, read.exit_status), bytes) << "one way to write it";
  }
  // The latest time the clock can hold is still a time.
  InputFrame latest;
  latest.clock = std::numeric_limits<std::int64_t>::max();
  const std::vector<RecordEntry> at_the_end = {latest};
  EXPECT_EQ(Parse(EncodeRecording(at_the_end, 0)).entries, at_the_end);
  // Every key pressed in one frame, none in the next, then one again: each
  // frame holds its own presses and no other frame's.
  InputFrame all;
  for (KeyState& key : all.keys) key = {true, 2};
  InputFrame none;
  InputFrame one_key;
  one_key.keys[vk::kKey1] = {false, 1};
  const std::vector<RecordEntry> every_key = {all, none, one_key, none};
  EXPECT_EQ(Parse(EncodeRecording(every_key, 0)).entries, every_key);
  // A frame repeated unchanged but for the clock costs three bytes, also when
  // the bytes between the fields of its keys are not zero.
  InputFrame still;
  still.clock += 16;
  std::string one;
  AppendFrameRecord(one, InputFrame{}, still);
  EXPECT_EQ(one.size(), 3u);
  std::memset(static_cast<void*>(still.keys.data()), 0xFF, sizeof(still.keys));
  for (KeyState& key : still.keys) {
    key.down = false;
    key.presses = 0;
  }
  one.clear();
  AppendFrameRecord(one, InputFrame{}, still);
  EXPECT_EQ(one.size(), 3u);
}

// A message box was either confirmed at once (no window to show it in) or
// shown in the window; a replay must know which, so nothing else is read.
TEST(RecordingFormat, AMessageBoxWasConfirmedAtOnceOrShownInTheWindow) {
  const std::vector<RecordEntry> boxes = {RecordedAnswer{Kind::kMessageBox, "Fehler", 0, "", {}},
                                          RecordedAnswer{Kind::kMessageBox, "\xC4rger", 1, "", {}}};
  EXPECT_EQ(Parse(EncodeRecording(boxes, 1)).entries, boxes);
  EXPECT_EQ(DescribeEntry(boxes[0]), "das Zeigen eines Meldungsfensters");

  for (const std::uint64_t value : {std::uint64_t{2}, std::numeric_limits<std::uint64_t>::max()}) {
    const std::vector<RecordEntry> other = {
        RecordedAnswer{Kind::kMessageBox, "Fehler", value, "", {}}};
    EXPECT_NE(Refusal(EncodeRecording(other, 0))
                  .find("beschädigt (eine unmögliche Art, ein Meldungsfenster zu zeigen bei Byte "),
              std::string::npos)
        << value;
  }
  const std::vector<RecordEntry> unknown = {RecordedAnswer{static_cast<Kind>(9), "", 0, "", {}}};
  EXPECT_NE(Refusal(EncodeRecording(unknown, 0)).find("eine unbekannte Art von Antwort"),
            std::string::npos);

  Replayer replayer = ReplayerOf(boxes, 1);
  EXPECT_EQ(replayer.NextAnswer(Kind::kMessageBox, "Fehler").value, 0u);
  replayer.NextAnswer(Kind::kMessageBox, "Hinweis");  // another title than the recorded one
  EXPECT_NE(replayer.Mismatch().value_or("").find(
                "Es verlangt als Nächstes: das Zeigen eines Meldungsfensters („Hinweis“); in der "
                "Aufzeichnung steht hier: das Zeigen eines Meldungsfensters."),
            std::string::npos)
      << replayer.Mismatch().value_or("");
}

TEST(RecordingFormat, EveryDamageIsRefusedWithItsReason) {
  std::mt19937 random(7);
  const std::string good = EncodeRecording(RandomRun(random, 30, 100), 0);
  ASSERT_EQ(Refusal(good), "");

  EXPECT_EQ(Refusal(""), "Die Aufzeichnung „lauf.rec“ kann nicht abgespielt werden: sie ist leer.");
  for (const std::string& stranger :
       {std::string("MWRE"), std::string("PK\x03\x04 zip"), std::string("mwrec\x01")}) {
    EXPECT_NE(Refusal(stranger).find("sie ist keine Aufzeichnung von Möwenschuss"),
              std::string::npos)
        << stranger;
  }
  // An older recording would replay differently, so it is refused, and said
  // to be older; one of an unknown version is told apart.
  std::string older = good;
  older[5] = 1;
  EXPECT_EQ(Refusal(older),
            "Die Aufzeichnung „lauf.rec“ kann nicht abgespielt werden: sie wurde mit einer "
            "älteren Version des Spiels gemacht (Version 1).");
  for (const int version : {0, 3, 255}) {
    std::string other = good;
    other[5] = static_cast<char>(version);
    EXPECT_EQ(Refusal(other),
              "Die Aufzeichnung „lauf.rec“ kann nicht abgespielt werden: sie hat "
              "die Version " +
                  std::to_string(version) + ", dieses Programm spielt Version 2 ab.");
  }

  // Cut anywhere after the header: unfinished, never read as whole.
  for (std::size_t length = 6; length < good.size(); ++length) {
    ASSERT_NE(Refusal(good.substr(0, length)).find("sie ist unvollständig"), std::string::npos)
        << "cut at " << length;
  }
  // One changed byte anywhere before the end record: never read as whole.
  const std::size_t end_record = good.size() - 6;
  ASSERT_EQ(good[end_record], 'E');
  for (std::size_t at = 6; at < end_record; ++at) {
    std::string damaged = good;
    damaged[at] = static_cast<char>(damaged[at] ^ (1 << (at % 8)));
    const std::string reason = Refusal(damaged);
    ASSERT_TRUE(reason.find("beschädigt") != std::string::npos ||
                reason.find("unvollständig") != std::string::npos)
        << "byte " << at << ": " << reason;
  }
  std::string bad_sum = good;
  bad_sum.back() = static_cast<char>(bad_sum.back() ^ 0x80);
  EXPECT_NE(Refusal(bad_sum).find("beschädigt (eine falsche Prüfsumme"), std::string::npos);
  EXPECT_NE(Refusal(good + "x")
                .find("(Daten nach dem Abschluss bei Byte " + std::to_string(good.size()) + ")."),
            std::string::npos);
  EXPECT_EQ(Refusal(RecordingHeader() + "X"),
            "Die Aufzeichnung „lauf.rec“ kann nicht abgespielt werden: sie ist beschädigt (ein "
            "unbekannter Eintrag bei Byte 7).");
  // A mouse step so large that adding it would overflow.
  const std::string huge_step = RecordingHeader() + std::string("I\x00\x01\x02\x00I\x00\x01", 8) +
                                "\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01" + std::string(1, '\0');
  EXPECT_NE(Refusal(huge_step).find("beschädigt"), std::string::npos);
  std::string too_big = huge_step;  // a tenth byte above 1 leaves 64 bits
  too_big[too_big.size() - 2] = '\x02';
  EXPECT_NE(Refusal(too_big).find("eine zu große Zahl"), std::string::npos);
}

TEST(Replayer, GivesBackWhatWasAskedAndNamesWhatDoesNotFit) {
  InputFrame first;
  first.clock = kClockStart + 17;
  first.typed = "ab";
  const std::vector<RecordEntry> recording{
      RecordedAnswer{Kind::kEnvironment, "OEDIR", 0, "/tmp/", {}}, RecordedShot{"menu"},
      RecordedShot{"menu2"}, first, RecordedAnswer{Kind::kFolderWritable, "/tmp/", 1, "", {}}};
  auto on_shot = [](std::vector<std::string>& into) {
    return [&into](const std::string& name) { into.push_back(name); };
  };
  std::vector<std::string> shots;

  Replayer fitting = ReplayerOf(recording, 0);
  EXPECT_EQ(fitting.NextAnswer(Kind::kEnvironment, "OEDIR").text, "/tmp/");
  EXPECT_EQ(fitting.NextFrameClock(), first.clock) << "past the pictures asked for";
  const InputSample sample = fitting.NextFrame(on_shot(shots));
  EXPECT_EQ(sample.status, InputSample::Status::kFrame);
  EXPECT_EQ(sample.frame, first);
  EXPECT_EQ(shots, (std::vector<std::string>{"menu", "menu2"})) << "asked for before the frame";
  EXPECT_EQ(fitting.NextFrameClock(), std::nullopt) << "an answer comes next";
  EXPECT_NE(fitting.Finish(0).value_or("").find("Schreibbarkeit eines Ordners"), std::string::npos)
      << "an answer is left over";
  EXPECT_EQ(fitting.NextAnswer(Kind::kFolderWritable, "/tmp/").value, 1u);
  EXPECT_NE(fitting.Finish(1).value_or("").find("endet mit Status 1, die Aufzeichnung mit "
                                                "Status 0"),
            std::string::npos);
  EXPECT_EQ(fitting.Finish(0), std::nullopt);
  EXPECT_EQ(fitting.Mismatch(), std::nullopt);

  // Asked for another folder than the recorded one: the reason is kept, the
  // answers from then on are neutral, and the next frame says so.
  Replayer other = ReplayerOf(recording, 0);
  other.NextAnswer(Kind::kEnvironment, "OEDIR");
  other.NextFrame(on_shot(shots));
  EXPECT_EQ(other.NextAnswer(Kind::kFolderWritable, "/home/").value, 0u);
  const std::string message = other.Mismatch().value_or("");
  EXPECT_TRUE(message.starts_with("Die Aufzeichnung „lauf.rec“ passt nicht zu diesem Programm"))
      << message;
  EXPECT_NE(message.find("Schreibbarkeit eines Ordners („/home/“)"), std::string::npos) << message;
  EXPECT_EQ(other.NextAnswer(Kind::kFolderWritable, "/tmp/").value, 0u) << "it stays unfit";
  const InputSample after = other.NextFrame(on_shot(shots));
  EXPECT_EQ(after.status, InputSample::Status::kRecordingEnded);
  EXPECT_EQ(after.message, message);
  EXPECT_EQ(other.Finish(0), message);

  // A frame asked for past the end.
  Replayer ended = ReplayerOf({first}, 0, "kurz.rec");
  ended.NextFrame(on_shot(shots));
  const InputSample none = ended.NextFrame(on_shot(shots));
  EXPECT_EQ(none.status, InputSample::Status::kRecordingEnded);
  EXPECT_NE(none.message.find("nichts mehr (sie ist zu Ende)"), std::string::npos) << none.message;
}

// A recorded headless run that went on past its script ends where it did,
// with the recorded run's reason.
TEST(Replayer, AHeadlessRunPastItsScriptEndsWhereItDid) {
  InputFrame only;
  Replayer replayer = ReplayerOf({only}, 3, "lang.rec");
  EXPECT_EQ(replayer.NextFrame([](const std::string&) {}).status, InputSample::Status::kFrame);
  const InputSample end = replayer.NextFrame([](const std::string&) {});
  EXPECT_EQ(end.status, InputSample::Status::kScriptEnded);
  EXPECT_EQ(end.message,
            "lang.rec: das aufgezeichnete Programm lief hier 60 s nach dem letzten Ereignis "
            "seines Skripts");
  EXPECT_EQ(replayer.Finish(3), std::nullopt);
}

// Watched, a replay keeps the recorded pace on the machine's clock, and shows
// a box in the window only where the recorded player saw it there.
TEST(ReplayingPlatform, KeepsThePaceAndTheWayEachBoxWasShown) {
  InputFrame first;
  InputFrame second = first;
  second.clock += 1000;
  Replayer replayer = ReplayerOf({RecordedAnswer{Kind::kMessageBox, "A", 1, "", {}},
                                  RecordedAnswer{Kind::kMessageBox, "B", 0, "", {}}, first, second},
                                 0);
  HeadlessPlatform machine(ParseScript(test::kLongRun, "t"), test::Options());
  ReplayingPlatform replay(machine, replayer, true);
  EXPECT_TRUE(replay.MessageBoxInWindow("A", ""));
  EXPECT_FALSE(replay.MessageBoxInWindow("B", ""));
  ASSERT_EQ(replay.ReadInput().status, InputSample::Status::kFrame);
  const double shown = machine.NowMs();
  while (replay.ReadInput().status == InputSample::Status::kNotYet) machine.Pause();
  EXPECT_NEAR(machine.NowMs() - shown, 1000, 2) << "the second frame a recorded second later";
}

}  // namespace
}  // namespace mw
