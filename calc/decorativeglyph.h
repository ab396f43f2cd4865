// Glyphs that only complete another control's text, left out of what screen readers read.
#pragma once

class QWidget;

// Leaves a widget out of what assistive technology reads: for a glyph that
// only completes another control's text, like the superscript "3" beside a
// unit label whose accessible name already reads "kg/m³". The widget stays
// drawn where it is; screen readers are told it is not showing, as they are
// for a hidden control, so the unit is read once and whole.
void markDecorative(QWidget* widget);

bool isDecorative(const QWidget* widget);
