#pragma once

#include <QString>
#include <zip.h>

namespace huddlex::archive::detail {

// zip_open of a host path read only, the path passed as the platform's libzip wants it; one
// file per platform. Nothing on failure, and `error` says why.
zip_t* openZipFile(const QString& hostPath, zip_error_t* error);

} // namespace huddlex::archive::detail
