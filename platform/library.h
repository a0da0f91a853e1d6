// Loading a library of the product and calling its exported functions.
#pragma once

#include <memory>

#include "platform/types.h"

namespace wlk::platform {

// The address of an exported function. Callers cast it to the function's own
// type before calling; a cast from and back to a function pointer type keeps
// the address intact.
using ProcAddress = void (*)();

// One loaded library; destroying it frees the library (FreeLibrary).
class Library {
public:
    virtual ~Library() = default;
    // GetProcAddress of an undecorated export name; null when it is missing.
    virtual ProcAddress Procedure(const char* name) = 0;
};

class Libraries {
public:
    virtual ~Libraries() = default;
    // LoadLibraryW of a full path; null when it cannot be loaded, with the
    // reason in LastError().
    virtual std::unique_ptr<Library> Load(const Text& path) = 0;
    virtual uint32_t LastError() = 0;
};

}  // namespace wlk::platform
