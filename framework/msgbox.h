#pragma once

#include <string>

// Shows the text in a modal message box with one OK button, and returns when
// the user has dismissed it.
void MsgBox(const std::string& text);
