#include "highscores/high_score_file.h"

#include "highscores/high_score_format.h"
#include "text/cp1252.h"

namespace mw {
namespace {

// The environment buffer the game always had holds 254 characters and a NUL;
// anything longer would have been cut, so it counts as not set.
constexpr std::size_t kMaxOedirLength = 254;

// "<what> „<path>“ <verb>: <reason>.\n<consequence>", shown in a box.
void ShowFileProblem(Outbox& out, std::string_view what, const std::string& path,
                     std::string_view verb, const std::string& reason,
                     std::string_view consequence) {
  std::string text(what);
  text.append(" „").append(path).append("“ ").append(verb).append(": ");
  text.append(reason).append(".\n").append(consequence);
  out.ShowMessageBox("Highscores", Utf8ToCp1252(text));
}

}  // namespace

std::string HighScoreDir(Outside& outside, std::string_view prefix) {
  if (!prefix.empty() && prefix.size() <= kMaxOedirLength) return std::string(prefix);
  std::string dir = outside.ProgramFolder();
  if (outside.FolderIsWritable(dir)) return dir;
  std::string user = outside.UserDataFolder();
  return user.empty() ? dir : user;
}

HighScoreFile ReadHighScoreFile(Outside& outside, Session& session, HighScoreTable& table,
                                const std::string& dir, Outbox& out) {
  HighScoreFile file{dir, false};
  file.path.append(kHighScoreFileName);
  FileReadResult read = outside.ReadFile(file.path, kHighScoreBytesUsed);
  if (read.status == FileReadResult::Status::kFailed) {
    file.unreadable = true;
    read.bytes.clear();
    ShowFileProblem(out, "Die Highscore-Datei", file.path, "kann nicht gelesen werden", read.reason,
                    "Die Tabelle zeigt die Standardeinträge. Die Datei bleibt unverändert, "
                    "neue Einträge werden nicht gespeichert.");
  }
  LoadHighScores(session, table, read.bytes);
  return file;
}

void WriteHighScoreFile(Outside& outside, const Session& session, const HighScoreTable& table,
                        const HighScoreFile& file, Outbox& out) {
  const std::string logged_path = Utf8ToCp1252(file.path);
  if (session.cheat_flag) {
    out.Log(HighScoresEvent{"refused", logged_path});
    out.ShowMessageBox(
        "Allgemeiner Fehler",
        Utf8ToCp1252("Fehler 718 beim Speichern der Highscores. Wenn dieser Fehler öfter "
                     "auftritt, kontaktieren Sie bitte den Hersteller unter ") +
            std::string(kMakerContactAddress));
    return;
  }
  if (file.unreadable) {
    out.Log(HighScoresEvent{"failed", logged_path});
    return;
  }
  const std::string reason = outside.ReplaceFile(file.path, SaveHighScores(table));
  if (!reason.empty()) {
    out.Log(HighScoresEvent{"failed", logged_path});
    ShowFileProblem(out, "Die Highscores können nicht in", file.path, "gespeichert werden", reason,
                    "Die bisherige Datei bleibt unverändert.");
    return;
  }
  out.Log(HighScoresEvent{"saved", logged_path});
}

}  // namespace mw
