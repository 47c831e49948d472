// Feeds arbitrary bytes to the program as its preferences file KV.ini: the INI reader, the preferences, the
// recent-files list, the zoom steps and the window placement must take any value, never crash or overflow.
#include "app/WindowPlacement.h"
#include "app/ZoomSteps.h"
#include "fuzz/FuzzSupport.h"
#include "persist/formats/Preferences.h"
#include "platform/IniFile.h"
#include "platform/PrintableText.h"

#include <QApplication>
#include <QWidget>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication<QApplication>();
    const QString path = fuzz::InputFile(QStringLiteral("KV.ini"), data, size);
    const platform::IniFile ini(path);
    const persist::Preferences preferences = persist::LoadPreferences(ini, fuzz::ScratchProgramFolder());
    app::ZoomToPercent(app::PercentToZoom(preferences.mainZoomPercent));
    app::ZoomToPercent(app::PercentToZoom(preferences.propZoomPercent));
    persist::MruList recent;
    recent.Load(ini, QStringLiteral("MRU"));
    for (const QString& file : recent.Files())
        platform::PrintableName(file, platform::kShownPathLength);
    recent.Add(QStringLiteral("/tmp/Added.KVF"));

    QWidget window;
    window.resize(800, 600);
    app::RestorePlacement(window, QStringLiteral("TCalendarMain"));
    QWidget dialog;
    dialog.resize(500, 400);
    app::RestorePlacement(dialog, QStringLiteral("TCalendarProperties"), &window);
    return 0;
}
