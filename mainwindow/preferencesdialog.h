#pragma once

#include <QDialog>
#include <QString>

class AppState;
class QCheckBox;
class QComboBox;
class QPushButton;

// The few preferences the application acts on: the theme mode and accent,
// starting hidden, closing to the tray and starting at login. Nothing is
// stored before OK.
class PreferencesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PreferencesDialog(AppState *state, QWidget *parent = nullptr);

    QComboBox *themeBox() const { return m_theme; }
    QCheckBox *startMinimizedBox() const { return m_startMinimized; }
    QCheckBox *closeToTrayBox() const { return m_closeToTray; }
    QCheckBox *startAtLoginBox() const { return m_startAtLogin; }
    QString accent() const { return m_accent; }
    void setAccent(const QString &accent);

    void accept() override;

private:
    void chooseAccent();

    AppState *m_state;
    QComboBox *m_theme;
    QPushButton *m_accentButton;
    QCheckBox *m_startMinimized;
    QCheckBox *m_closeToTray;
    QCheckBox *m_startAtLogin;
    QString m_accent;
};
