#pragma once
// Running the real program as a separate process: in a fresh folder of its
// own (RunExecutable), or in a throw-away corner of the file system for a
// hostile environment (Sandbox: its own HOME, and tmpfs mounts where the test
// may make them).

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

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
// the variables in unset removed and those in changes set.
inline pid_t SpawnIn(const fs::path& dir, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& changes,
                     const std::vector<std::string>& unset = {}) {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const std::string& key : unset) env.erase(key);
  env["SDL_AUDIODRIVER"] = "dummy";
  env["SDL_VIDEODRIVER"] = "dummy";
  for (const auto& [key, value] : changes) env[key] = value;

  std::vector<std::string> env_strings;
  for (const auto& [key, value] : env) env_strings.push_back(key + "=" + value);
  const std::string out = (dir / "stdout.txt").string();
  const std::string err = (dir / "stderr.txt").string();
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& e : env_strings) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  const pid_t child = ::fork();
  if (child != 0) return child;
  if (::chdir(dir.c_str()) != 0 || !std::freopen(out.c_str(), "w", stdout) ||
      !std::freopen(err.c_str(), "w", stderr) || !std::freopen("/dev/null", "r", stdin)) {
    ::_exit(126);
  }
  ::execve(argv[0], argv.data(), envp.data());
  ::_exit(127);
}

// The exit status of a started program, or -1 when a signal ended it.
inline int WaitForExit(pid_t child) {
  int raw = 0;
  ::waitpid(child, &raw, 0);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

struct ProcessResult {
  int status = -1;  // exit status, or -1 when a signal ended it
  std::string out;
  std::string err;
};

// A fresh empty folder for one test.
inline fs::path FreshFolder(const std::string& name) {
  const auto dir =
      fs::path(::testing::TempDir()) / ("mw_" + name + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// Runs the program in work_dir, with the high-score file kept there.
inline ProcessResult RunExecutable(const std::vector<std::string>& args, const fs::path& work_dir) {
  std::vector<std::string> argv = {MW_EXECUTABLE};
  argv.insert(argv.end(), args.begin(), args.end());
  ProcessResult r;
  r.status = WaitForExit(SpawnIn(work_dir, argv, {{"OEDIR", work_dir.string() + "/"}}));
  r.out = FileText(work_dir / "stdout.txt");
  r.err = FileText(work_dir / "stderr.txt");
  return r;
}

struct RunResult {
  int status = -1;  // exit status, or -1 when a signal ended it
  std::string err;
  std::string log;  // the event log
};

class Sandbox {
 public:
  Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "mw_hardening_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directories(root_ / "home");
    fs::create_directories(root_ / "run");
  }
  ~Sandbox() {
    for (auto it = mounts_.rbegin(); it != mounts_.rend(); ++it) ::umount2(it->c_str(), MNT_DETACH);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const fs::path& Root() const { return root_; }
  fs::path Home() const { return root_ / "home"; }
  fs::path RunDir() const { return root_ / "run"; }

  // Mounts a tmpfs of size_kb at root/name; an error text when it cannot (not
  // root, no mount rights in this container).
  std::optional<std::string> MountTmpfs(const std::string& name, int size_kb) {
    const fs::path at = root_ / name;
    fs::create_directories(at);
    const std::string options = "size=" + std::to_string(size_kb) + "k,mode=0755";
    if (::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) + ")";
    }
    mounts_.push_back(at.string());
    return std::nullopt;
  }
  std::optional<std::string> RemountReadOnly(const std::string& name) {
    const fs::path at = root_ / name;
    if (::mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      return "cannot remount read-only (" + std::string(std::strerror(errno)) + ")";
    }
    return std::nullopt;
  }

  // Starts the program headless on script text; OEDIR as given (nullopt: not
  // set). Returns the child's pid.
  pid_t Start(const std::string& script, const std::optional<std::string>& oedir,
              const std::vector<std::string>& extra_args = {}) {
    WriteFile(RunDir() / "run.script", script);
    std::vector<std::string> args = {MW_EXECUTABLE, "--headless", "run.script", "--events",
                                     "log.jsonl",   "--shots",    "."};
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    return Spawn(args, oedir);
  }

  // Runs the program with args (program path first) and the given OEDIR in
  // RunDir, with a dummy sound and video driver unless overrides say so.
  pid_t Spawn(const std::vector<std::string>& args, const std::optional<std::string>& oedir,
              const std::map<std::string, std::string>& overrides = {}) {
    std::map<std::string, std::string> env = {{"HOME", Home().string()}};
    if (oedir) env["OEDIR"] = *oedir;
    for (const auto& [key, value] : overrides) env[key] = value;
    return SpawnIn(RunDir(), args, env, {"OEDIR", "XDG_DATA_HOME"});
  }

  RunResult Wait(pid_t child) {
    RunResult r;
    r.status = WaitForExit(child);
    r.err = FileText(RunDir() / "stderr.txt");
    r.log = FileText(RunDir() / "log.jsonl");
    return r;
  }

  RunResult Run(const std::string& script, const std::optional<std::string>& oedir,
                const std::vector<std::string>& extra_args = {}) {
    return Wait(Start(script, oedir, extra_args));
  }

 private:
  fs::path root_;
  std::vector<std::string> mounts_;
};

// Menu -> "Highscores" -> a picture of the table -> leave (the table is saved)
// -> "Ende" by Escape.
constexpr const char* kVisitHighScores =
    "0 mouse 320 350\n"
    "100 press mouse-left\n"
    "400 shot table\n"
    "500 press escape\n"
    "800 press escape\n";

// The lines of a log whose text contains part.
inline std::vector<std::string> LogLines(const std::string& log, const std::string& part) {
  std::vector<std::string> found;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.find(part) != std::string::npos) found.push_back(line);
  }
  return found;
}

}  // namespace mw::test
