#include "preferencesdialog.h"

#include "appstate.h"
#include "desktopintegration.h"
#include "preferencesrepository.h"
#include "theme.h"
#include "thememanager.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>

#include <tuple>

using namespace Qt::StringLiterals;

PreferencesDialog::PreferencesDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_theme(new QComboBox(this))
    , m_accentButton(new QPushButton(this))
    , m_startMinimized(new QCheckBox(tr("Start hidden in the tray"), this))
    , m_closeToTray(new QCheckBox(tr("Closing the window keeps the calendar in the tray"), this))
    , m_startAtLogin(new QCheckBox(tr("Start at login"), this))
{
    setWindowTitle(tr("Preferences"));
    m_theme->addItem(tr("System"), u"system"_s);
    m_theme->addItem(tr("Light"), u"light"_s);
    m_theme->addItem(tr("Dark"), u"dark"_s);
    m_theme->setCurrentIndex(std::max(0, m_theme->findData(state->themeManager()->mode())));

    auto *resetAccent = new QPushButton(tr("Default"), this);
    auto *accentRow = new QHBoxLayout;
    accentRow->addWidget(m_accentButton);
    accentRow->addWidget(resetAccent);
    accentRow->addStretch();
    setAccent(Theme::accentName());
    connect(m_accentButton, &QPushButton::clicked, this, &PreferencesDialog::chooseAccent);
    connect(resetAccent, &QPushButton::clicked, this, [this] { setAccent(QString()); });

    PreferencesRepository *preferences = state->preferences();
    m_startMinimized->setChecked(preferences->getBool(u"ui/startMinimized"_s, false));
    m_closeToTray->setChecked(preferences->getBool(u"ui/closeToTray"_s, true));
    m_startAtLogin->setChecked(isAutostartEnabled());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PreferencesDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(tr("Theme:"), m_theme);
    form->addRow(tr("Accent colour:"), accentRow);
    form->addRow(m_startMinimized);
    form->addRow(m_closeToTray);
    form->addRow(m_startAtLogin);
    form->addRow(buttons);
}

void PreferencesDialog::setAccent(const QString &accent)
{
    m_accent = accent;
    m_accentButton->setText(accent.isEmpty() ? tr("Theme default") : accent);
    m_accentButton->setIcon(Theme::colorDotIcon(accent.isEmpty() ? Theme::cssColor(Theme::accent()) : accent));
}

void PreferencesDialog::chooseAccent()
{
    const QColor chosen = QColorDialog::getColor(Theme::accent(), this, tr("Accent colour"));
    if (chosen.isValid())
        setAccent(chosen.name());
}

void PreferencesDialog::accept()
{
    PreferencesRepository *preferences = m_state->preferences();
    // A box left as it was stores nothing: an unset value keeps following
    // the default.
    for (const auto &[key, box, byDefault] : {std::tuple{u"ui/startMinimized"_s, m_startMinimized, false},
                                              std::tuple{u"ui/closeToTray"_s, m_closeToTray, true}}) {
        if (box->isChecked() != preferences->getBool(key, byDefault))
            preferences->setBool(key, box->isChecked());
    }
    if (m_startAtLogin->isChecked() != isAutostartEnabled() && !setAutostartEnabled(m_startAtLogin->isChecked()))
        QMessageBox::warning(this, tr("Start at login"), tr("The start at login setting could not be changed."));
    ThemeManager *theme = m_state->themeManager();
    if (m_accent != Theme::accentName())
        theme->setAccentColor(m_accent);
    theme->setMode(m_theme->currentData().toString());
    QDialog::accept();
}
