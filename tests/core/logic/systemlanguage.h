#pragma once

#include <QLocale>
#include <QTest>

// The German runs are only worth something if Qt really sees German as the
// system language; the outputs must then still be the untranslated texts.
inline void verifySystemLanguageFromEnvironment()
{
    if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de")))
        QCOMPARE(QLocale::system().language(), QLocale::German);
}
