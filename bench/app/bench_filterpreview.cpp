// The filter form's live preview: every edit of a rule reruns the range
// query of the next 30 days, the expansion of the repeating events and a
// one-rule filter pass, and rewrites the preview line. Driven through the
// form itself (offscreen) over a store of 50,000 events spread over four
// years around today (so about 1,000 fall into the window), 1 in 250 of them
// weekly series that started before the window. Target: under 50 ms per
// change.
#include "appstate.h"
#include "benchrunner.h"
#include "database.h"
#include "eventrepository.h"
#include "filterformdialog.h"
#include "icalendar.h"
#include "seededstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCalendars = 5;

std::unique_ptr<SeededState> seed(int count)
{
    auto seeded = startSeededState(kCalendars);
    AppState *state = seeded->state.get();

    const QDate today = QDate::currentDate();
    QRandomGenerator random(42);
    state->database()->database().transaction();
    for (int i = 0; i < count; ++i) {
        const QDate day = today.addDays(int(random.bounded(1461)) - 730);
        Event e = seededEvent(i, kCalendars, day, random);
        if (i % 250 == 0) {
            e.recurrence_rule = u"FREQ=WEEKLY"_s;
            e.start_time = QDateTime(today.addDays(-400 - int(random.bounded(300))), e.start_time.time());
            e.end_time = e.start_time.addSecs(3600);
        } else if (i % 17 == 0) {
            e.is_all_day = true;
            e.start_time = QDateTime(day, QTime(0, 0), Qt::UTC);
            e.end_time = e.start_time.addDays(1);
        }
        insertSeeded(state, e, QDateTime::currentDateTimeUtc());
    }
    state->database()->database().commit();
    return seeded;
}

// Seeded once for the whole run; main() closes it while the application
// still exists.
std::unique_ptr<SeededState> runSeed;

AppState *seededState()
{
    if (!runSeed)
        runSeed = seed(50000);
    return runSeed->state.get();
}

// A change of a check box: the cheapest edit, so the preview is all there is.
void previewPerChange(benchmark::State &benchState)
{
    AppState *state = seededState();
    FilterFormDialog form(state);
    form.findChild<QLineEdit *>(u"phraseEdit"_s)->setText(u"lunch, standup"_s);
    auto *caseSensitive = form.findChild<QCheckBox *>(u"caseSensitiveCheck"_s);
    for (auto _ : benchState)
        caseSensitive->toggle();
    benchState.counters["events"] = double(form.previewText().section(u" of "_s, 1).section(u' ', 0, 0).toInt());
}

// Switching the kind also re-measures the dialog.
void previewPerKindSwitch(benchmark::State &benchState)
{
    AppState *state = seededState();
    FilterFormDialog form(state);
    auto *time = form.findChild<QToolButton *>(u"type_time"_s);
    auto *allDay = form.findChild<QToolButton *>(u"type_all_day"_s);
    bool flip = false;
    for (auto _ : benchState) {
        (flip ? time : allDay)->click();
        flip = !flip;
    }
}

BENCHMARK(previewPerChange)->Unit(benchmark::kMillisecond);
BENCHMARK(previewPerKindSwitch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(BenchRunner::quietInfo);
    return BenchRunner::run<QApplication>(argc, argv, [] { runSeed.reset(); });
}
