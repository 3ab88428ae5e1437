#pragma once

#include "framework/application.h"
#include "framework/ref.h"

// The document types the application declares: plain text only. Declared
// once at start-up; nothing opens a file through it.
namespace FileTypes {

extern fw::Ref<fw::FileType> pText;

void _Initialize();
void Release();

} // namespace FileTypes
