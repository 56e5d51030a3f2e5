// The running executable's own file, and the folder it lives in.
#pragma once

#include <string>

// Full path of the executable (/proc/self/exe).
std::string ModuleFileName();
// The folder of the executable, without a trailing "/".
std::string ModuleDirectory();
