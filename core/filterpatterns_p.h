#pragma once

#include "event.h"
#include "filtercondition.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringMatcher>

// Text-pattern matching for the filter engine. Internal to FilterEngine.

// Phrases searched for inside a text, each with its search table built once.
// An empty phrase is inside every text.
class FilterPhrases
{
public:
    explicit FilterPhrases(const QStringList &phrases);
    bool inside(const QString &text) const;

private:
    QList<QStringMatcher> m_matchers;
    bool m_hasEmpty = false;
};

// A pattern condition ready for matching: the phrases are composed (and
// case-folded when case is ignored) once here and the occurrence's texts
// once per text, so the comparisons themselves are plain (fast)
// case-sensitive ones.
struct CompiledPattern
{
    explicit CompiledPattern(const PatternCondition &c);

    enum class Field { Title, Description, Location };
    // Whether the pattern hits `text` (already composed, and folded when the
    // pattern ignores case) in one field.
    bool hits(Field field, const QString &text) const;
    // The whole pattern on one event, case-folding its texts as needed.
    bool matches(const Event &event) const;

    bool caseSensitive;
    QStringList titleExact;
    FilterPhrases titleContains;
    FilterPhrases descriptionContains;
    FilterPhrases locationContains;
};

// Occurrences of one series, and many events besides, repeat their title,
// description and location, so within one call the pattern verdicts are
// worked out once per distinct text of each field (hashing a text is cheaper
// than searching it for every phrase) instead of once per occurrence. One
// bit per pattern; at most 64 patterns.
class PatternMemo
{
public:
    static constexpr int maxSlots = 64;

    // The slot (bit) given to `c`, or -1 when the slots are used up. `c` must
    // outlive the memo.
    int add(const CompiledPattern *c);
    // The bits of the patterns that match `event`.
    quint64 hits(const Event &event);

private:
    quint64 fieldBits(CompiledPattern::Field field, const QString &text);

    QList<const CompiledPattern *> m_slots;
    bool m_anyIgnoringCase = false;
    bool m_anyCaseSensitive = false;
    QHash<QString, quint64> m_memo[3];
};
