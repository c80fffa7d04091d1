#include "appstatefixture.h"
#include "database.h"
#include "filterformdialog.h"
#include "filterrulerepository.h"
#include "managefiltersdialog.h"
#include "modalscript.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

FilterRule makeRule(const QString &id, const QString &name, int priority, bool enabled = true)
{
    FilterRule rule;
    rule.id = id;
    rule.name = name;
    rule.type = u"pattern"_s;
    rule.conditions = uR"({"runtimeType":"pattern","titleContains":["x"]})"_s;
    rule.priority = priority;
    rule.enabled = enabled;
    rule.sync_status = u"synced"_s;
    rule.created_at = rule.updated_at = QDateTime::currentDateTimeUtc();
    return rule;
}

QPushButton *button(QWidget *dialog, const QString &name)
{
    return dialog->findChild<QPushButton *>(name);
}

} // namespace

class TestManageFiltersDialog : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    void seedThree()
    {
        QVERIFY(m_state->filterRules()->insert(makeRule(u"a"_s, u"Alpha"_s, 100)));
        QVERIFY(m_state->filterRules()->insert(makeRule(u"b"_s, u"Bravo"_s, 100)));
        QVERIFY(m_state->filterRules()->insert(makeRule(u"c"_s, u"Charlie"_s, 100)));
    }
    // "name priority enabled status" of every live rule, by priority.
    QStringList stored() const
    {
        QStringList out;
        const QList<FilterRule> rules = m_state->filterRules()->getAll();
        for (const FilterRule &r : rules)
            out << u"%1 %2 %3 %4"_s.arg(r.name).arg(r.priority).arg(r.enabled ? u"on"_s : u"off"_s, r.sync_status);
        return out;
    }
    static QStringList rowTexts(const ManageFiltersDialog &dialog)
    {
        QStringList out;
        for (int i = 0; i < dialog.list()->count(); ++i)
            out << dialog.list()->item(i)->text();
        return out;
    }

private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    void withoutRulesOnlyAPlaceholder()
    {
        ManageFiltersDialog dialog(m_state);
        QCOMPARE(dialog.windowTitle(), u"Manage Filters"_s);
        QCOMPARE(rowTexts(dialog), QStringList{u"(no filters yet)"_s});
        QCOMPARE(dialog.list()->item(0)->flags(), Qt::NoItemFlags);
        QVERIFY(!button(&dialog, u"editButton"_s)->isEnabled());
        QVERIFY(!button(&dialog, u"deleteButton"_s)->isEnabled());
        QSignalSpy writes(m_state->filterRules(), &FilterRuleRepository::filterRulesChanged);
        dialog.list()->model()->moveRow(QModelIndex(), 0, QModelIndex(), 1);
        QCOMPARE(writes.size(), 0);
    }

    void rowsNameKindAndAction_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::newRow("all-day dim") << u"all_day"_s << u"dim"_s << u"Night   ·   All-day → Dim"_s;
        QTest::newRow("pattern hide") << u"pattern"_s << u"hide"_s << u"Night   ·   Pattern → Hide"_s;
        QTest::newRow("time hide") << u"time"_s << u"hide"_s << u"Night   ·   Time → Hide"_s;
        QTest::newRow("specific dim") << u"specific"_s << u"dim"_s << u"Night   ·   Specific → Dim"_s;
        QTest::newRow("unknown values as stored") << u"mood"_s << u"blur"_s << u"Night   ·   mood → blur"_s;
    }
    void rowsNameKindAndAction()
    {
        QFETCH(QString, type);
        QFETCH(QString, action);
        QFETCH(QString, text);
        FilterRule rule = makeRule(u"n"_s, u"Night"_s, 10, false);
        rule.type = type;
        rule.action = action;
        QVERIFY(m_state->filterRules()->insert(rule));
        ManageFiltersDialog dialog(m_state);
        QCOMPARE(rowTexts(dialog), QStringList{text});
        QCOMPARE(dialog.list()->item(0)->checkState(), Qt::Unchecked);
    }

    void toggleWritesThatRuleOnly()
    {
        seedThree();
        ManageFiltersDialog dialog(m_state);
        QSignalSpy writes(m_state->filterRules(), &FilterRuleRepository::filterRulesChanged);
        dialog.list()->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(stored(),
                 (QStringList{u"Alpha 100 on synced"_s, u"Bravo 100 off pending"_s, u"Charlie 100 on synced"_s}));
        // The queued refill writes nothing more.
        QTRY_COMPARE(dialog.list()->item(1)->checkState(), Qt::Unchecked);
        QTest::qWait(20);
        QCOMPARE(writes.size(), 1);
    }

    void dragSetsPrioritiesInOneWrite()
    {
        seedThree();
        ManageFiltersDialog dialog(m_state);
        QSignalSpy writes(m_state->filterRules(), &FilterRuleRepository::filterRulesChanged);
        // What an internal-move drop does to the list's model.
        QVERIFY(dialog.list()->model()->moveRow(QModelIndex(), 2, QModelIndex(), 0));
        QCOMPARE(stored(),
                 (QStringList{u"Charlie 10 on pending"_s, u"Alpha 20 on pending"_s, u"Bravo 30 on pending"_s}));
        QCOMPARE(writes.size(), 1);
        QTRY_COMPARE(rowTexts(dialog).first(), ManageFiltersDialog::rowText(u"Charlie"_s, u"pattern"_s, u"hide"_s));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("yes: a tombstone")
            << QMessageBox::Yes << QStringList{u"Alpha 100 on synced"_s, u"Charlie 100 on synced"_s};
        QTest::newRow("no: kept") << QMessageBox::No
                                  << QStringList{u"Alpha 100 on synced"_s, u"Bravo 100 on synced"_s,
                                                 u"Charlie 100 on synced"_s};
    }
    void deleteAsksFirst()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QStringList, left);
        seedThree();
        ManageFiltersDialog dialog(m_state);
        dialog.show();
        dialog.list()->setCurrentRow(1);
        ModalScript script;
        script.answer(u"Delete filter?"_s, answer);
        button(&dialog, u"deleteButton"_s)->click();
        QVERIFY(script.done());
        QCOMPARE(script.messageTexts(), QStringList{u"Delete \"Bravo\"? You can recreate it later."_s});
        QCOMPARE(stored(), left);
        const std::optional<FilterRule> bravo = m_state->filterRules()->getById(u"b"_s);
        QVERIFY(bravo);
        QCOMPARE(bravo->deleted_at.has_value(), answer == QMessageBox::Yes);
        QCOMPARE(bravo->sync_status, answer == QMessageBox::Yes ? u"pending"_s : u"synced"_s);
    }

    // A write the store refuses is told, and the list shows what is stored.
    void aRefusedWriteIsTold_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("on/off") << u"toggle"_s << u"Could not save the filter."_s;
        QTest::newRow("order") << u"drag"_s << u"Could not save the order of the filters."_s;
        QTest::newRow("delete") << u"delete"_s << u"Could not delete the filter."_s;
    }
    void aRefusedWriteIsTold()
    {
        QFETCH(QString, action);
        seedThree();
        const QStringList before = stored();
        ManageFiltersDialog dialog(m_state);
        dialog.show();
        const QStringList shown = rowTexts(dialog);
        dialog.list()->setCurrentRow(1);
        QVERIFY(QSqlQuery(m_state->database()->database()).exec(u"PRAGMA query_only = ON"_s));
        ModalScript script;
        if (action == "delete"_L1)
            script.answer(u"Delete filter?"_s, QMessageBox::Yes);
        script.answer(u"Database Error"_s);
        if (action == "toggle"_L1)
            dialog.list()->item(1)->setCheckState(Qt::Unchecked);
        else if (action == "drag"_L1)
            QVERIFY(dialog.list()->model()->moveRow(QModelIndex(), 2, QModelIndex(), 0));
        else
            button(&dialog, u"deleteButton"_s)->click();
        QVERIFY(script.done());
        QTEST(script.messageTexts().constLast(), "message");
        QCOMPARE(stored(), before);
        QTRY_COMPARE(rowTexts(dialog), shown);
        QCOMPARE(dialog.list()->item(1)->checkState(), Qt::Checked);
    }

    void addAndEditOpenTheForm()
    {
        ManageFiltersDialog dialog(m_state);
        dialog.show();
        ModalScript script;
        script.on(u"Add Filter"_s, [](QWidget *form) {
            form->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Lunches"_s);
            form->findChild<QLineEdit *>(u"phraseEdit"_s)->setText(u"lunch"_s);
            ModalScript::click(form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        button(&dialog, u"addButton"_s)->click();
        QVERIFY(script.done());
        QTRY_COMPARE(rowTexts(dialog), QStringList{u"Lunches   ·   Pattern → Hide"_s});
        QVERIFY(button(&dialog, u"editButton"_s)->isEnabled());

        dialog.list()->setCurrentRow(0);
        ModalScript edit;
        edit.on(u"Edit Filter"_s, [](QWidget *form) {
            QCOMPARE(form->findChild<QLineEdit *>(u"phraseEdit"_s)->text(), u"lunch"_s);
            form->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Long lunches"_s);
            ModalScript::click(form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        button(&dialog, u"editButton"_s)->click();
        QVERIFY(edit.done());
        QTRY_COMPARE(rowTexts(dialog), QStringList{u"Long lunches   ·   Pattern → Hide"_s});
    }
};

QTEST_MAIN(TestManageFiltersDialog)
#include "tst_managefiltersdialog.moc"
