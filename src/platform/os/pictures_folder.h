#pragma once
// Where the player keeps pictures. On Linux XDG_PICTURES_DIR from the
// environment or from ~/.config/user-dirs.dirs, else the home folder; on
// Windows the Pictures folder of the profile, else the profile.

#include <string>

namespace mw {

// The folder for pictures, without a trailing separator: the first of those
// that exists; empty when not even the home folder is known.
std::string PicturesFolder();

}  // namespace mw
