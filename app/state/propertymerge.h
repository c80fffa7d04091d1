#pragma once

#include <QSet>
#include <QStringList>

#include <algorithm>

// A three-way merge of one record's properties: the base (what both sides
// last agreed on), the local record and the server's. A property only the
// server changed comes in; one only the local side changed stays; one both
// changed to different values keeps the local value and is a conflict. The
// three records must outlive the merge.
template<typename Record>
class PropertyMerge
{
public:
    PropertyMerge(const Record &base, const Record &local, const Record &server)
        : m_base(base)
        , m_local(local)
        , m_server(server)
        , m_merged(local)
    {
    }

    template<typename T>
    void field(T Record::*member)
    {
        take(m_local.*member == m_base.*member, m_server.*member == m_base.*member, m_server.*member == m_local.*member,
             [&] { m_merged.*member = m_server.*member; });
    }

    // A property compared through `keys` (what a list says, without local bookkeeping).
    template<typename T, typename Keys>
    void field(T Record::*member, Keys keys)
    {
        fieldOf(member, [&](const Record &record) { return keys(record.*member); });
    }

    // A property compared through `key` of its whole record, where what it
    // means depends on another property.
    template<typename T, typename Key>
    void fieldOf(T Record::*member, Key key)
    {
        const auto base = key(m_base);
        const auto local = key(m_local);
        const auto server = key(m_server);
        take(local == base, server == base, server == local, [&] { m_merged.*member = m_server.*member; });
    }

    // A list merged as a set, read and written through `read` and `write`:
    // a value stays where both sides have it or one added it, and goes where
    // one side removed it. Never a conflict.
    template<typename T, typename Read, typename Write>
    void set(T Record::*member, Read read, Write write)
    {
        const QStringList base = read(m_base.*member);
        const QStringList local = read(m_local.*member);
        const QStringList server = read(m_server.*member);
        const QSet<QString> b(base.cbegin(), base.cend());
        const QSet<QString> s(server.cbegin(), server.cend());
        if (s != b)
            ++m_serverChanges;
        QStringList merged;
        for (const QString &value : local) {
            if ((s.contains(value) || !b.contains(value)) && !merged.contains(value))
                merged.append(value);
        }
        for (const QString &value : server) {
            if (!b.contains(value) && !merged.contains(value))
                merged.append(value);
        }
        if (QSet<QString>(merged.cbegin(), merged.cend()) != QSet<QString>(local.cbegin(), local.cend())) {
            std::sort(merged.begin(), merged.end());
            m_merged.*member = write(merged);
        }
    }

    const Record &merged() const { return m_merged; }
    // Both sides changed one property differently.
    bool conflict() const { return m_conflict; }
    // Properties in which the server's record differs from the base.
    int serverChanges() const { return m_serverChanges; }

private:
    template<typename Take>
    void take(bool localSame, bool serverSame, bool agree, Take takeServer)
    {
        if (!serverSame)
            ++m_serverChanges;
        if (localSame && !serverSame)
            takeServer();
        else if (!localSame && !serverSame && !agree)
            m_conflict = true;
    }

    const Record &m_base;
    const Record &m_local;
    const Record &m_server;
    Record m_merged;
    bool m_conflict = false;
    int m_serverChanges = 0;
};
