// The program's exit status and what it prints for every kind of trouble: a
// bad command line, script, event log or recording, a script that never
// ends, no sound card, no display at all. (What the player sees of a run is in the golden
// runs; a file that cannot be saved is tested on the high-score screen.)

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "hardening_sandbox.h"

namespace mw {
namespace {

namespace fs = std::filesystem;

TEST(ExitStatus, EachKindOfTroubleHasItsStatusAndItsMessage) {
  test::TempFolder folder("mw_exit_status");
  const std::string dir = folder.Path().string() + "/";
  struct Case {
    std::vector<std::string> args;
    const char* script;  // written to dir + "run.script" first
    int status;
    std::string out;  // the start of stdout
    std::string err;  // a part of stderr
  };
  fs::create_directory_symlink(dir + "nirgends", dir + "link");
  const std::vector<Case> cases{
      {{"--help"}, "", 0, "Aufruf:", ""},
      {{"--version"}, "", 0, "moewenschuss 1.2.3\n", ""},
      {{"--fullscreen"}, "", 2, "", "moewenschuss: unbekannte Option --fullscreen\n\nAufruf:"},
      {{"--headless", dir + "run.script"},
       "0 mouse 10 10\n100 jump high\n",
       2,
       "",
       dir + "run.script:2: "},
      // A script that cannot be read names its reason, and no line.
      {{"--headless", dir + "nowhere.script"},
       "",
       2,
       "",
       dir + "nowhere.script: die Datei kann nicht gelesen werden: sie existiert nicht\n"},
      {{"--headless", dir}, "", 2, "", dir + ": die Datei kann nicht gelesen werden: Es ist"},
      {{"--headless", dir + "run.script", "--events", dir + "no/log.jsonl"},
       "100 close\n",
       2,
       "",
       dir + "no/log.jsonl"},
      {{"--headless", dir + "run.script", "--events", dir + "log.jsonl"},
       "0 mouse 600 10\n",
       3,
       "",
       "run.script: das Programm läuft noch 60 s nach dem letzten Ereignis des Skripts\n"},
      // A folder for the pictures that cannot be made names the real reason.
      {{"--headless", dir + "run.script", "--shots", dir + "link/bilder"},
       "100 close\n",
       2,
       "",
       "kann nicht angelegt werden: Eine Verknüpfung im Pfad zeigt ins Leere\n"},
      {{"--headless", dir + "run.script", "--shots", "/proc/mw-bilder"},
       "100 close\n",
       2,
       "",
       "kann nicht angelegt werden: Das Dateisystem lässt dort keinen Ordner anlegen\n"},
      {{"--headless", dir + "run.script", "--shots", dir + "run.script/bilder"},
       "100 close\n",
       2,
       "",
       "kann nicht angelegt werden: Ein Teil des Pfades ist kein Ordner\n"},
      {{"--headless", dir + "run.script", "--no-sound-device"},
       "0 mouse 320 250\n100 press enter\n",
       1,
       "",
       "moewenschuss: Audiohardware nicht gefunden !\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args.back() : ""));
    test::WriteFile(dir + "run.script", c.script);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunProgram(c.args, "1.2.3", out, err), c.status);
    EXPECT_TRUE(out.str().starts_with(c.out)) << out.str();
    EXPECT_EQ(out.str().empty(), c.out.empty());
    EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    EXPECT_EQ(err.str().empty(), c.err.empty());
  }
  EXPECT_TRUE(test::FileText(dir + "log.jsonl").ends_with("\"event\":\"exit\",\"code\":3}\n"));
}

TEST(ExitStatus, NoDisplayAtAllIsOneLineOnStderrAndStatusOne) {
  test::Sandbox box;
  // An X11 program without any X server, a video driver that does not exist,
  // no desktop at all, and a desktop named whose X server is gone (where SDL
  // alone falls back to its invisible driver): SDL's video cannot start, or
  // must not, in each. No leak checks for the named desktop: D-Bus, which
  // SDL starts for it, keeps a buffer past the end.
  const std::string runtime_dir = box.Home().string();
  const std::vector<std::map<std::string, std::string>> environments = {
      {{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
      {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
      {{"SDL_VIDEODRIVER", "no-such-driver"}, {"DISPLAY", ""}},
      {{"SDL_VIDEODRIVER", ""},
       {"DISPLAY", ":7777"},
       {"WAYLAND_DISPLAY", ""},
       {"XDG_RUNTIME_DIR", runtime_dir},
       {"ASAN_OPTIONS", "detect_leaks=0"}}};
  for (const auto& environment : environments) {
    for (const std::vector<std::string>& flags :
         {std::vector<std::string>{}, std::vector<std::string>{"--windowed"}}) {
      std::vector<std::string> args = {MW_EXECUTABLE};
      args.insert(args.end(), flags.begin(), flags.end());
      const test::RunResult r = box.Wait(box.Spawn(args, environment));
      const std::string driver = environment.at("SDL_VIDEODRIVER");
      EXPECT_EQ(r.status, 1) << driver;  // an exit, not a signal
      EXPECT_TRUE(r.err.starts_with("moewenschuss: ")) << r.err;
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
      if (environment.at("DISPLAY") == ":7777") {
        EXPECT_NE(r.err.find("unsichtbare Treiber"), std::string::npos) << r.err;
      }
    }
  }
  EXPECT_EQ(test::Listing(box.Home()), std::vector<std::string>{});
}

}  // namespace
}  // namespace mw
