#include "filterpatterns_p.h"

#include <algorithm>

namespace {

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// One form for a letter typed whole ("é") and as a base with its mark
// ("e" and U+0301), as other devices write titles either way.
QString composed(const QString &text)
{
    return isAscii(text) ? text : text.normalized(QString::NormalizationForm_C);
}

// Qt's simple case folding (what Qt::CaseInsensitive compares by), of the
// composed text. ASCII text, the common case, folds by lower-casing A-Z and
// is shared unchanged when it has no capitals.
QString caseFolded(const QString &text)
{
    bool capitals = false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return composed(text).toCaseFolded();
        capitals = capitals || (c >= u'A' && c <= u'Z');
    }
    if (!capitals)
        return text;
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return out;
}

QStringList comparable(const QStringList &list, bool caseSensitive)
{
    QStringList out;
    out.reserve(list.size());
    for (const QString &s : list)
        out.append(caseSensitive ? composed(s) : caseFolded(s));
    return out;
}

} // namespace

FilterPhrases::FilterPhrases(const QStringList &phrases)
{
    for (const QString &p : phrases) {
        if (p.isEmpty())
            m_hasEmpty = true;
        else
            m_matchers.append(QStringMatcher(p, Qt::CaseSensitive));
    }
}

bool FilterPhrases::inside(const QString &text) const
{
    return m_hasEmpty || std::any_of(m_matchers.cbegin(), m_matchers.cend(), [&](const QStringMatcher &m) {
               return m.indexIn(text) >= 0;
           });
}

CompiledPattern::CompiledPattern(const PatternCondition &c)
    : caseSensitive(c.caseSensitive)
    , titleExact(comparable(c.titleExact, c.caseSensitive))
    , titleContains(comparable(c.titleContains, c.caseSensitive))
    , descriptionContains(comparable(c.descriptionContains, c.caseSensitive))
    , locationContains(comparable(c.locationContains, c.caseSensitive))
{
}

bool CompiledPattern::hits(Field field, const QString &text) const
{
    switch (field) {
    case Field::Title: return titleExact.contains(text) || titleContains.inside(text);
    case Field::Description: return descriptionContains.inside(text);
    case Field::Location: return locationContains.inside(text);
    }
    return false;
}

bool CompiledPattern::matches(const Event &e) const
{
    const auto as = [this](const QString &text) { return caseSensitive ? composed(text) : caseFolded(text); };
    return hits(Field::Title, as(e.title)) || (!e.description.isEmpty() && hits(Field::Description, as(e.description)))
        || (!e.location.isEmpty() && hits(Field::Location, as(e.location)));
}

int PatternMemo::add(const CompiledPattern *c)
{
    if (m_slots.size() >= maxSlots)
        return -1;
    m_slots.append(c);
    m_anyIgnoringCase = m_anyIgnoringCase || !c->caseSensitive;
    m_anyCaseSensitive = m_anyCaseSensitive || c->caseSensitive;
    return int(m_slots.size() - 1);
}

quint64 PatternMemo::hits(const Event &e)
{
    using Field = CompiledPattern::Field;
    quint64 bits = fieldBits(Field::Title, e.title);
    if (!e.description.isEmpty())
        bits |= fieldBits(Field::Description, e.description);
    if (!e.location.isEmpty())
        bits |= fieldBits(Field::Location, e.location);
    return bits;
}

quint64 PatternMemo::fieldBits(CompiledPattern::Field field, const QString &text)
{
    QHash<QString, quint64> &memo = m_memo[int(field)];
    const auto found = memo.constFind(text);
    if (found != memo.cend())
        return *found;
    const QString foldedText = m_anyIgnoringCase ? caseFolded(text) : QString();
    const QString composedText = m_anyCaseSensitive ? composed(text) : QString();
    quint64 bits = 0;
    for (int i = 0; i < m_slots.size(); ++i) {
        const CompiledPattern &c = *m_slots.at(i);
        if (c.hits(field, c.caseSensitive ? composedText : foldedText))
            bits |= quint64(1) << i;
    }
    memo.insert(text, bits);
    return bits;
}
