#include "archive/zipopen.h"

#include <QFile>

namespace huddlex::archive::detail {

zip_t* openZipFile(const QString& hostPath, zip_error_t* error) {
    int code = 0;
    zip_t* zip = zip_open(QFile::encodeName(hostPath).constData(), ZIP_RDONLY, &code);
    if (!zip)
        zip_error_init_with_code(error, code);
    return zip;
}

} // namespace huddlex::archive::detail
