#include "app/WindowPlacement.h"

#include "persist/formats/Preferences.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"

#include <QScreen>
#include <QWidget>

namespace app {

namespace {

QString IniPath()
{
    return platform::ProgramFolder() + QStringLiteral("KV.ini");
}

} // namespace

void RestorePlacement(QWidget& window, const QString& windowClass, const QWidget* centreOver)
{
    platform::IniFile ini(IniPath());
    const QString section = persist::PlacementSection(windowClass, platform::PixelsPerInch());
    const int left = ini.ReadInteger(section, QStringLiteral("Left"), 0);
    const int top = ini.ReadInteger(section, QStringLiteral("Top"), 0);
    const int right = ini.ReadInteger(section, QStringLiteral("Right"), 0);
    const int bottom = ini.ReadInteger(section, QStringLiteral("Bottom"), 0);
    const bool maximized = ini.ReadBool(section, QStringLiteral("Maximized"), window.isMaximized());
    const QSize screen = window.screen() ? window.screen()->size() : QSize(1024, 768);
    const std::optional<QRect> stored = persist::StoredRect(left, top, right, bottom);
    if (bottom != 0 && stored)
        window.setGeometry(persist::FitToScreen(*stored, screen));
    else
        window.setGeometry(persist::CentredOver(window.size(), centreOver ? centreOver->geometry()
                                                                          : QRect(QPoint(0, 0), screen)));
    if (maximized)
        window.showMaximized();
}

bool HasStoredPlacement(const QString& windowClass)
{
    platform::IniFile ini(IniPath());
    const QString section = persist::PlacementSection(windowClass, platform::PixelsPerInch());
    const int bottom = ini.ReadInteger(section, QStringLiteral("Bottom"), 0);
    return bottom != 0 && persist::StoredRect(ini.ReadInteger(section, QStringLiteral("Left"), 0),
                                              ini.ReadInteger(section, QStringLiteral("Top"), 0),
                                              ini.ReadInteger(section, QStringLiteral("Right"), 0), bottom);
}

QRect FirstPlacement(const QRect& available)
{
    const QSize size(available.width() * 4 / 5, available.height() * 4 / 5);
    return persist::CentredOver(size, available);
}

void SavePlacement(const QWidget& window, const QString& windowClass)
{
    platform::IniFile ini(IniPath());
    const QString section = persist::PlacementSection(windowClass, platform::PixelsPerInch());
    const QRect r = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    ini.WriteInteger(section, QStringLiteral("Left"), r.left());
    ini.WriteInteger(section, QStringLiteral("Top"), r.top());
    ini.WriteInteger(section, QStringLiteral("Right"), r.left() + r.width());
    ini.WriteInteger(section, QStringLiteral("Bottom"), r.top() + r.height());
    ini.WriteBool(section, QStringLiteral("Maximized"), window.isMaximized());
    ini.Save();
}

void BringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace app
