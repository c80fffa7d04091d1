#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventdetailspopover.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "formdriver.h"
#include "recurringeditscopedialog.h"
#include "testevents.h"
#include "webcalharness.h"

#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace FormDriver;

// An event of a subscription is shown everywhere and offered for change
// nowhere: the feed is only ever read, and a change made here would be gone
// at its next refresh. Events of the device calendar stay editable.
class TestSubscriptionEvents : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    // A calendar of the given kind with one weekly event in it.
    Event eventIn(const QString &kind)
    {
        QString calendarId = u"quillmarten-personal-default"_s;
        if (kind == "subscription"_L1)
            calendarId = addSubscription(m_state, u"webcal://127.0.0.1:9/feed.ics"_s).id;
        if (kind == "read-only"_L1) {
            Calendar calendar = *m_state->calendars()->getById(calendarId);
            calendar.is_read_only = true;
            if (!m_state->calendars()->update(calendar))
                qFatal("calendar not stored");
        }
        const QDateTime start(QDate(2026, 3, 2), QTime(9, 0), Qt::LocalTime);
        Event event = testEvent(calendarId, u"Standup"_s, start, start.addSecs(900), u"FREQ=WEEKLY"_s);
        event.sync_status = u"synced"_s;
        if (!m_state->events()->insert(event))
            qFatal("event not stored");
        return event;
    }

    static void kinds()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("reason");
        QTest::newRow("an event of a subscription is only shown")
            << u"subscription"_s << false << u"Events of a subscribed calendar can't be changed."_s;
        QTest::newRow("an event of a collection the server keeps read-only is only shown")
            << u"read-only"_s << false << u"\"Personal\" is read-only: its events cannot be changed here."_s;
        QTest::newRow("an event of the device calendar is offered for change") << u"device"_s << true << QString();
    }

private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup()
    {
        m_state = nullptr;
        m_fixture.reset();
    }

    void offers_form()
    {
        QFETCH(QString, kind);
        QFETCH(bool, editable);
        const Event event = eventIn(kind);
        EventFormDialog form(m_state, event);
        form.show();
        QCOMPARE(button(&form, QDialogButtonBox::Ok)->isVisibleTo(&form), editable);
        QCOMPARE(find<QLineEdit>(&form, u"title"_s)->isReadOnly(), !editable);
        QCOMPARE(form.findChild<QLabel *>(u"readOnlyReason"_s) != nullptr, !editable);
        if (!editable) {
            QFETCH(QString, reason);
            QCOMPARE(form.findChild<QLabel *>(u"readOnlyReason"_s)->text(), reason);
            // Return does not save through the hidden button either.
            QTest::keyClick(find<QLineEdit>(&form, u"title"_s), Qt::Key_Return);
            QCOMPARE(m_state->events()->getById(event.id)->title, u"Standup"_s);
        }
        form.close();
    }
    void offers_form_data() { kinds(); }

    void offers_scopes()
    {
        QFETCH(QString, kind);
        QFETCH(bool, editable);
        const Event event = eventIn(kind);
        RecurringEditScopeDialog prompt(m_state, event);
        for (const QString &name : {u"thisEvent"_s, u"thisAndFollowing"_s, u"allEvents"_s})
            QCOMPARE(find<QPushButton>(&prompt, name)->isEnabled(), editable);
        QCOMPARE(button(&prompt, QDialogButtonBox::Cancel)->text(), editable ? u"Cancel"_s : u"Close"_s);
        QCOMPARE(prompt.scope(), RecurringEditScope::None);
    }
    void offers_scopes_data() { kinds(); }

    void offers_detailsCard()
    {
        QFETCH(QString, kind);
        QFETCH(bool, editable);
        const Event event = eventIn(kind);
        auto *card = new EventDetailsPopover(m_state, event);
        QCOMPARE(card->findChild<QPushButton *>(u"edit"_s) != nullptr, editable);
        QCOMPARE(card->findChild<QPushButton *>(u"delete"_s) != nullptr, editable);
        QCOMPARE(card->findChild<QLabel *>(u"readOnlyReason"_s) != nullptr, !editable);
        delete card;
    }
    void offers_detailsCard_data() { kinds(); }

    // A new event is never offered a subscription to go into.
    void newEventsGoElsewhere()
    {
        const Event event = eventIn(u"subscription"_s);
        EventFormDialog form(m_state);
        QCOMPARE(find<QComboBox>(&form, u"calendar"_s)->findData(event.calendar_id), -1);
        QVERIFY(find<QComboBox>(&form, u"calendar"_s)->count() > 0);
    }
};

QTEST_MAIN(TestSubscriptionEvents)
#include "tst_subscriptionevents.moc"
