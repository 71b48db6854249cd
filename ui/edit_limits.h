// Edit boxes of the customisation form: their first line of limits, and text set with the caret at its end.
#pragma once

#include <windows.h>

#include <string>

namespace zk::ui {

// Digits only with at most 11 characters, or any text with at most 20; the logic's change handler
// holds the byte limits that a character count cannot.
void setBoxLimit(HWND edit, bool digitsOnly);
// Sets the text (the box reports the change) and puts the caret after it, where typing goes on.
void setTextAtEnd(HWND edit, const std::string& utf8);

}  // namespace zk::ui
