#pragma once

#include "artifact.h"
#include "config.h"

#include <QByteArray>
#include <QString>

namespace TolmUpdate::Manifest {

struct Result
{
    enum class Kind { Entry, NoEntryForPlatform, Invalid };
    Kind kind = Kind::Invalid;
    Artifact artifact; // set for Entry
    QString error; // set for Invalid: what is wrong, without the payload
};

// Reads "latest.json" (format in MANIFEST.md) and picks the entry of platform.
Result parse(const QByteArray &json, const Config &config, const QString &platform);

} // namespace TolmUpdate::Manifest
