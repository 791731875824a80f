#pragma once

#include <QString>

class QWidget;

// "Eksportuj…" of the map and the spin windows: asks (through TPrompts, so tests can answer)
// for a PNG, SVG or PDF file, proposed is the name offered. The chosen filter decides the
// extension, and replacing a file is confirmed about the name really to be written. The file
// name, or empty when the user cancelled. GUI thread.
QString AskPictureFileName(QWidget *owner, const QString &proposed);
