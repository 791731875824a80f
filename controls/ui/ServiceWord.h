#pragma once

#include <QString>

// The hidden service panels (level meter, measurement, series editor) open when the user
// types the service word. Each window keeps its own position.
inline const QString ServiceWord = QStringLiteral("kapsel");

// Feeds one typed character. Advances position on a match of word[position]
// (case-sensitive), otherwise resets it to 0 without retrying the character as a first
// one. When the whole word has been typed: beeps, resets position and returns true.
bool MatchServiceWord(QChar typed, const QString &word, int &position);
