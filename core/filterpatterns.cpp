#include "filterpatterns_p.h"

#include <algorithm>

namespace {

// Qt's simple case folding (what Qt::CaseInsensitive compares by). ASCII
// text, the common case, folds by lower-casing A-Z and is shared unchanged
// when it has no capitals.
QString caseFolded(const QString &text)
{
    bool capitals = false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return text.toCaseFolded();
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

QStringList folded(const QStringList &list)
{
    QStringList out;
    out.reserve(list.size());
    for (const QString &s : list)
        out.append(caseFolded(s));
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
    , titleExact(c.caseSensitive ? c.titleExact : folded(c.titleExact))
    , titleContains(c.caseSensitive ? c.titleContains : folded(c.titleContains))
    , descriptionContains(c.caseSensitive ? c.descriptionContains : folded(c.descriptionContains))
    , locationContains(c.caseSensitive ? c.locationContains : folded(c.locationContains))
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
    const auto as = [this](const QString &text) { return caseSensitive ? text : caseFolded(text); };
    return hits(Field::Title, as(e.title)) || (!e.description.isEmpty() && hits(Field::Description, as(e.description)))
        || (!e.location.isEmpty() && hits(Field::Location, as(e.location)));
}

int PatternMemo::add(const CompiledPattern *c)
{
    if (m_slots.size() >= maxSlots)
        return -1;
    m_slots.append(c);
    m_anyIgnoringCase = m_anyIgnoringCase || !c->caseSensitive;
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
    quint64 bits = 0;
    for (int i = 0; i < m_slots.size(); ++i) {
        const CompiledPattern &c = *m_slots.at(i);
        if (c.hits(field, c.caseSensitive ? text : foldedText))
            bits |= quint64(1) << i;
    }
    memo.insert(text, bits);
    return bits;
}
