// How the outside-library modules mark the entry points the program binds by name: C names,
// visible from the shared module whatever the default visibility of the build.
#pragma once

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))
