#pragma once

// What the fuzz targets share: one Qt application on the offscreen platform for the whole run, and a scratch
// program folder for the readers that take their input from a file there.

#include "platform/ProgramFolder.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace fuzz {

/** Makes the application once; App is QGuiApplication, or QApplication for targets with widgets. */
template <typename App = QGuiApplication> void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static App* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new App(argc, argv);
    }();
    Q_UNUSED(application);
}

/** A program folder of its own for the whole run; the readers of files beside the program look there. */
inline const QString& ScratchProgramFolder()
{
    static QTemporaryDir* folder = [] {
        auto* dir = new QTemporaryDir;
        platform::SetProgramFolderOverride(dir->path());
        return dir;
    }();
    static const QString path = folder->path() + u'/';
    return path;
}

/** Writes the input to a file of the scratch program folder; its path. */
inline QString InputFile(const QString& name, const std::uint8_t* data, std::size_t size)
{
    const QString path = ScratchProgramFolder() + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace fuzz
