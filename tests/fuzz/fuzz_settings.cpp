#include "settings/settings_file.h"

#include <cstdlib>

// Any bytes read as settings give at most eighteen valid states, which write and read back the
// same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<int> states =
        SettingsFile::fromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    SettingsFile::States all{};
    if (states.size() > SettingsFile::BoxCount)
        std::abort();
    for (qsizetype box = 0; box < states.size(); ++box) {
        if (states[box] < 0 || states[box] > 2)
            std::abort();
        all[box] = states[box];
    }
    if (SettingsFile::fromBytes(SettingsFile::toBytes(all)).first(states.size()) != states)
        std::abort();
    return 0;
}
