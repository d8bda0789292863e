// Resources compiled into the program: named blobs (bitmaps, ...) found by name and type.
//
// The build embeds files with vcl_embed_resources() (cmake/Resources.cmake); each generated
// source calls Resources_Register at static initialisation. LoadFromResourceName looks them up.
#pragma once

#include <cstddef>

#include "platform/vcl/SysUtils.h"
#include "platform/vcl/System.h"
#include "platform/win32/Windows.h"

VCL_EXCEPTION(EResNotFound, Exception)

// Resource types as the build registers them.
inline constexpr const char* RT_BITMAP_NAME = "BITMAP";
inline constexpr const char* RT_RCDATA_NAME = "RCDATA";

// The program's module handle; a fixed non-null value (there is only one module of resources).
extern HINSTANCE HInstance;

// Registers a blob under Name and Type (both compared without case). The data must outlive the
// program (static arrays); a second registration of the same name and type replaces the first.
// Safe to call during static initialisation.
void Resources_Register(const char* Name, const char* Type, const Byte* Data, std::size_t Size);
// Removes a registration (tests); false when there was none.
bool Resources_Unregister(const String& Name, const String& Type);
// Finds a blob; false when none of that name and type is registered.
bool Resources_Find(const String& Name, const String& Type, const Byte*& Data, std::size_t& Size);
