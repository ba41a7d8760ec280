#pragma once

class QWidget;

// An editable cart edit: enabled while a cart chunk is loaded; read-only
// when the file cannot be written, so its text can still be read and
// selected but takes no typing that could never be saved.
void EnableCartEdit(QWidget* control, bool cartLoaded, bool readOnly);
