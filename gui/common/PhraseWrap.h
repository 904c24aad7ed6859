// Line breaks for short Japanese texts on fixed-width labels. Qt breaks
// Japanese between any two characters, which can leave the last one or two
// characters of a sentence ("す)") alone on a line; these breaks fall
// between phrases instead.
#pragma once

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace rumone {

// The text cut into phrases, joined they give it back. Sentence phrases
// end after 、 。 and closing brackets and before an opening bracket; word
// phrases also end where hiragana (a particle or an ending) is followed by
// the kanji, katakana or digit that starts the next word.
enum class PhraseLevel { Sentence, Word };
QStringList japanesePhrases(const QString& text, PhraseLevel level);

// `text` with line breaks so that each line is at most `width` pixels wide
// in `metrics`: between sentence phrases where they fit, a phrase too long
// for a line of its own between its words, and a word too long for a line
// where the width ends.
QString wrapAtPhrases(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace rumone
