#pragma once

class QWidget;

// Names each text field in the content that has no accessible name of its own
// after the caption standing to its left on the same line: the nearest label
// or read-only text field whose height overlaps the field's. A screen reader
// then reads a field by the words a user sees beside it.
void NameFieldsByTheirCaptions(const QWidget& content);
