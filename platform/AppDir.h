#pragma once

#include <string>

// The directory of the running executable, with a trailing '/'. Every file the program reads or
// writes, except the user's CSV file, lies there.
std::string ApplicationDirectory();
