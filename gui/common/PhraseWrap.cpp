#include "gui/common/PhraseWrap.h"

#include <optional>

namespace rumone {

namespace {

bool isHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309F;
}

bool opensBracket(QChar c)
{
    return QStringView(u"(（「『【").contains(c);
}

bool endsPhrase(QChar c)
{
    return QStringView(u"、。，．)）」』】").contains(c);
}

// A word starts here after a particle or an ending.
bool startsWord(QChar c)
{
    return !isHiragana(c) && !endsPhrase(c) && c != u'ー' && !c.isSpace();
}

bool breakBetween(QChar before, QChar after, PhraseLevel level)
{
    if (endsPhrase(after))
        return false;
    if (endsPhrase(before) || opensBracket(after))
        return true;
    return level == PhraseLevel::Word && isHiragana(before) && startsWord(after);
}

// Fills lines greedily; what does not fit on a line of its own is placed
// again in smaller pieces.
class LineFiller {
public:
    LineFiller(const QFontMetrics& metrics, int width) : metrics_(metrics), width_(width) {}

    // `level` is what the piece is: a sentence phrase, a word, or (none) a
    // single character.
    void place(const QString& piece, std::optional<PhraseLevel> level)
    {
        if (fits(line_ + piece)) {
            line_ += piece;
            return;
        }
        // A word, a character, or a bracketed phrase goes to the next line
        // whole where it fits there; any other sentence phrase fills the
        // rest of this line word by word.
        const bool wholeOnNextLine = level != PhraseLevel::Sentence || opensBracket(piece.front());
        if (!level || (wholeOnNextLine && fits(piece))) {
            endLine();
            line_ = piece;
            return;
        }
        if (*level == PhraseLevel::Sentence) {
            for (const QString& word : japanesePhrases(piece, PhraseLevel::Word))
                place(word, PhraseLevel::Word);
        } else {
            for (QChar c : piece)
                place(QString(c), std::nullopt);
        }
    }

    QString text()
    {
        endLine();
        return lines_.join(u'\n');
    }

private:
    bool fits(const QString& s) const { return metrics_.horizontalAdvance(s) <= width_; }
    void endLine()
    {
        if (!line_.isEmpty())
            lines_ << line_;
        line_.clear();
    }

    const QFontMetrics& metrics_;
    int width_;
    QStringList lines_;
    QString line_;
};

}  // namespace

QStringList japanesePhrases(const QString& text, PhraseLevel level)
{
    QStringList phrases;
    qsizetype start = 0;
    for (qsizetype i = 1; i < text.size(); ++i)
        if (breakBetween(text.at(i - 1), text.at(i), level)) {
            phrases << text.mid(start, i - start);
            start = i;
        }
    if (start < text.size())
        phrases << text.mid(start);
    return phrases;
}

QString wrapAtPhrases(const QString& text, const QFontMetrics& metrics, int width)
{
    LineFiller filler(metrics, width);
    for (const QString& phrase : japanesePhrases(text, PhraseLevel::Sentence))
        filler.place(phrase, PhraseLevel::Sentence);
    return filler.text();
}

}  // namespace rumone
