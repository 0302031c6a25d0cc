#pragma once
// The pictures folder as the desktop's ~/.config/user-dirs.dirs names it.

#include <string>
#include <string_view>

namespace mw {

// XDG_PICTURES_DIR as a user-dirs.dirs text sets it ("$HOME/..." or an
// absolute path in double quotes), with $HOME replaced; empty when the text
// does not set it or sets something else.
std::string PicturesDirInUserDirs(std::string_view user_dirs, const std::string& home);

}  // namespace mw
