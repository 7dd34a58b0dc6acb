#pragma once

#include <string>

// Why `path` cannot be read as a file, in words ("is a named pipe (FIFO), not a file"); empty when
// it is a regular file or does not exist (the loaders report a missing file themselves). Looks at
// the file's type without opening it: opening a named pipe blocks until someone writes to it.
std::string notAFileProblem(const std::string& path);
