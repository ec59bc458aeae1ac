// Sanitizer builds keep every loaded library mapped until the process ends, so
// that leak reports at exit can name the graphics driver's frames (and the
// suppressions of foreign libraries can match them) instead of showing an
// unknown module the driver left when it was unloaded.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>

namespace Sys {
inline void KeepLoadedLibraries()
{
    dl_iterate_phdr(
        [](struct dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0] == '/')
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
} // namespace Sys
#else
namespace Sys {
inline void KeepLoadedLibraries() {}
} // namespace Sys
#endif
