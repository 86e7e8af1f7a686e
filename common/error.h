// The system's error codes, and the sentence that tells the user what one means.
#pragma once

#include "fixed_text.h"

namespace error {

using Code = unsigned long;
Code Last();
// The error of a path that is too long to be named.
Code PathTooLong();
// A sentence that tells the user what the error means.
void Describe(Code code, FixedText<255>& text);

}  // namespace error
