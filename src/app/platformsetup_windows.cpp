#include "app/platformsetup.h"

#include <QByteArray>
#include <QtGlobal>
#include <windows.h>

namespace huddlex {

// Under Wine, Qt's default (GDI) font engine draws a line edit's text above its box, so
// the Settings dialog's play folder looks empty; Qt's FreeType engine draws it in place.
// Windows itself keeps the default engine. A platform chosen by the user wins.
void prepareForPlatform() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version"))
        qputenv("QT_QPA_PLATFORM", QByteArray("windows:fontengine=freetype"));
}

} // namespace huddlex
