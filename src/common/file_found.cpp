#include "common/file_found.h"

#include "platform/file_search.h"

bool FileFound(const QString& path) { return platform::firstMatchExists(path); }
