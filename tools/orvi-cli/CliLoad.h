#pragma once

#include "document/OvkFile.h"

class QString;

// Loads path into the file's chart as the program opens a file: the magic is checked first,
// then the whole file is read. On failure writes one line to stderr and returns false.
bool CliLoadDocument(const QString &path, TOvkFile &file);
