#pragma once
// Temporary folders, and the real program run as a separate process: in a
// fresh folder of its own (RunExecutable), or in a throw-away corner of the
// file system with its own HOME and no OEDIR but the one given (Sandbox).

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace mw::test {

namespace fs = std::filesystem;

inline std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every path below root, for "nothing else was created" checks.
inline std::vector<std::string> Listing(const fs::path& root) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(root, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    names.push_back(fs::relative(it->path(), root).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Starts the program (args, its path first) in dir with stdout and stderr
// kept in dir/stdout.txt and dir/stderr.txt, a dummy sound and video driver,
// OEDIR and XDG_DATA_HOME removed and the variables in changes set.
inline pid_t SpawnIn(const fs::path& dir, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& changes) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child != 0) return child;
  ::unsetenv("OEDIR");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  for (const auto& [key, value] : changes) ::setenv(key.c_str(), value.c_str(), 1);
  if (::chdir(dir.c_str()) != 0 || !std::freopen("stdout.txt", "w", stdout) ||
      !std::freopen("stderr.txt", "w", stderr) || !std::freopen("/dev/null", "r", stdin)) {
    ::_exit(126);
  }
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

struct RunResult {
  int status = -1;  // exit status, or -1 when a signal ended it
  std::string out;
  std::string err;
};

// Waits for a program started in dir and collects what it printed.
inline RunResult WaitIn(const fs::path& dir, pid_t child) {
  int raw = 0;
  ::waitpid(child, &raw, 0);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileText(dir / "stdout.txt"),
          FileText(dir / "stderr.txt")};
}

// Runs the program in work_dir, with the high-score file kept there.
inline RunResult RunExecutable(const std::vector<std::string>& args, const fs::path& work_dir) {
  std::vector<std::string> argv = {MW_EXECUTABLE};
  argv.insert(argv.end(), args.begin(), args.end());
  return WaitIn(work_dir, SpawnIn(work_dir, argv, {{"OEDIR", work_dir.string() + "/"}}));
}

// A fresh folder under the system's temporary folder, removed with
// everything in it (whatever its permissions) when it goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "mw_test") {
    std::string pattern = (fs::temp_directory_path() / (prefix + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, ignored);
    fs::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& Path() const { return root_; }

 private:
  fs::path root_;
};

// A temporary folder with an empty home and a folder to run in.
class Sandbox {
 public:
  Sandbox() {
    fs::create_directories(Home());
    fs::create_directories(RunDir());
  }
  const fs::path& Root() const { return folder_.Path(); }
  fs::path Home() const { return Root() / "home"; }
  fs::path RunDir() const { return Root() / "run"; }

  // Starts the program headless on script text, its event log in
  // RunDir()/log.jsonl and OEDIR as given; returns the child's pid.
  pid_t Start(const std::string& script, const std::string& oedir,
              const std::vector<std::string>& extra_args = {}) {
    WriteFile(RunDir() / "run.script", script);
    std::vector<std::string> args = {MW_EXECUTABLE, "--headless", "run.script", "--events",
                                     "log.jsonl"};
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    return Spawn(args, {{"OEDIR", oedir}});
  }
  // Runs the program with args (program path first) in RunDir with its own
  // HOME and the environment changes given.
  pid_t Spawn(const std::vector<std::string>& args, std::map<std::string, std::string> changes) {
    changes.emplace("HOME", Home().string());
    return SpawnIn(RunDir(), args, changes);
  }
  RunResult Wait(pid_t child) const { return WaitIn(RunDir(), child); }

 private:
  TempFolder folder_{"mw_hardening"};
};

}  // namespace mw::test
