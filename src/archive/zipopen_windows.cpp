#include "archive/zipopen.h"

#include <string>

namespace huddlex::archive::detail {

// Windows names are UTF-16: the wide source opens any name, whatever the code page.
zip_t* openZipFile(const QString& hostPath, zip_error_t* error) {
    const std::wstring wide = hostPath.toStdWString();
    zip_source_t* source = zip_source_win32w_create(wide.c_str(), 0, -1, error);
    if (!source)
        return nullptr;
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, error);
    if (!zip)
        zip_source_free(source);
    return zip;
}

} // namespace huddlex::archive::detail
