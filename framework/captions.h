#pragma once

class QWidget;

// Pairs each text field and text area in the content that has no accessible
// name of its own with the caption standing to its left on the same line:
// the nearest label or read-only text field whose height overlaps the
// field's. A screen reader then reads a field by the words a user sees
// beside it, and a text area with no caption by its window's title.
//
// A caption never keeps the keyboard focus. A click on it, or the focus
// given to it any other way, goes to the field it names when that field
// takes typing; otherwise the focus stays where it was.
void PairFieldsWithTheirCaptions(const QWidget& content);
