#pragma once

#include <stdexcept>

// Why a model file was refused, in words for the console. Raised only inside the loaders, which
// catch it, print one line naming the file, and leave the model empty.
class ModelLoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
