// A full theme apply: proxy style check, palette and style sheet, then Qt
// restyling every widget. Run with the offscreen platform, no display needed.
#include "benchrunner.h"
#include "thememanager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Roughly a dialog's worth of widgets per row, `rows` rows.
std::unique_ptr<QWidget> makeWindow(int rows)
{
    auto window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    for (int i = 0; i < rows; ++i) {
        layout->addWidget(new QLabel(u"Label %1"_s.arg(i)));
        layout->addWidget(new QLineEdit);
        layout->addWidget(new QPushButton(u"Button"_s));
        layout->addWidget(new QCheckBox(u"Check"_s));
        auto *combo = new QComboBox;
        combo->addItems({u"Day"_s, u"Week"_s, u"Month"_s});
        layout->addWidget(combo);
    }
    layout->addWidget(new QListWidget);
    window->show();
    return window;
}

void applyTheme(benchmark::State &state)
{
    const auto window = state.range(0) > 0 ? makeWindow(int(state.range(0))) : nullptr;
    ThemeManager manager(nullptr);
    bool dark = false;
    for (auto _ : state) {
        manager.apply(dark ? u"dark"_s : u"light"_s);
        QCoreApplication::processEvents();
        dark = !dark;
    }
    state.counters["widgets"] = window ? double(window->findChildren<QWidget *>().size()) : 0.0;
}
BENCHMARK(applyTheme)->Arg(0)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

// The offscreen platform warns on every shown top-level window.
void quietPlatform(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (!message.contains(u"propagateSizeHints"_s))
        fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatform);
    return BenchRunner::run<QApplication>(argc, argv);
}
