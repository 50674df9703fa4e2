// The user's documents folder, where saved games live.
#pragma once

#include <string>

namespace plat {

// $XDG_DOCUMENTS_DIR when set and not empty, else the XDG_DOCUMENTS_DIR entry of
// ${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs, else $HOME/Documents. Paths are kept as the bytes
// they are (UTF-8). Empty when none of them gives an absolute path: nothing may then be written, least
// of all into the working folder.
std::string DocumentsFolder();

} // namespace plat
