#pragma once
// Where the player keeps pictures. On Linux XDG_PICTURES_DIR from the
// environment or from ~/.config/user-dirs.dirs, else the home folder; on
// Windows the Pictures folder of the profile, else the profile.

#include <string>
#include <string_view>

namespace mw {

// XDG_PICTURES_DIR as a user-dirs.dirs text sets it ("$HOME/..." or an
// absolute path in double quotes), with $HOME replaced; empty when the text
// does not set it or sets something else.
std::string PicturesDirInUserDirs(std::string_view user_dirs, const std::string& home);

// The folder for pictures, without a trailing separator: the first of those
// that exists; empty when not even the home folder is known.
std::string PicturesFolder();

}  // namespace mw
