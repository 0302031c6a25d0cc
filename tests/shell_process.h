#pragma once
// Runs the built program as a separate process and collects what it printed.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mw::test {

struct ProcessResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q.append("'\\''");
    } else {
      q.push_back(c);
    }
  }
  q.push_back('\'');
  return q;
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fresh empty folder for one test.
inline std::filesystem::path FreshFolder(const std::string& name) {
  const auto dir = std::filesystem::path(::testing::TempDir()) /
                   ("mw_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs the program in work_dir with a dummy sound driver and the high-score
// file kept in work_dir.
inline ProcessResult RunExecutable(const std::vector<std::string>& args,
                                   const std::filesystem::path& work_dir,
                                   const std::string& environment = "SDL_VIDEODRIVER=dummy") {
  const auto out = work_dir / "stdout.txt";
  const auto err = work_dir / "stderr.txt";
  std::ostringstream command;
  command << "cd " << ShellQuote(work_dir.string()) << " && SDL_AUDIODRIVER=dummy " << environment
          << " OEDIR=" << ShellQuote(work_dir.string() + "/") << ' ' << ShellQuote(MW_EXECUTABLE);
  for (const auto& a : args) command << ' ' << ShellQuote(a);
  command << " >" << ShellQuote(out.string()) << " 2>" << ShellQuote(err.string()) << " </dev/null";
  const int raw = std::system(command.str().c_str());
  ProcessResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadWholeFile(out);
  result.err = ReadWholeFile(err);
  return result;
}

}  // namespace mw::test
