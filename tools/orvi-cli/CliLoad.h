#pragma once

#include "document/OvkFile.h"

class QString;

// Loads path into the file's chart as the program opens a file: the magic is checked first,
// then the whole file is read. On failure writes one line to stderr, starting with prefix
// (the command's, "orvi-cli info: "), and returns false.
bool CliLoadDocument(const QString &prefix, const QString &path, TOvkFile &file);

// The document a command adds series to and saves as file: the chart of `into` (its title
// and info kept) when given, otherwise an empty chart titled after file's name. On failure
// writes one line to stderr, starting with prefix, and returns false.
bool CliStartDocument(const QString &prefix, const QString &into, TOvkFile &file);
